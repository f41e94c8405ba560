<?php
/** @var Zorvia\Portal\View $v */
/** @var string $title */
/** @var array $games */
?>
  <aside>
    <h3><?= $v->e($title) ?></h3>
    <ol class="ranked">
      <?php foreach ($games as $game): ?>
      <li><a href="<?= $v->gameUrl($game) ?>" title="<?= $v->e($game['name']) ?>"><?= $v->e($game['name']) ?></a><span><?= $v->plays($game['plays']) ?></span></li>
      <?php endforeach ?>
    </ol>
  </aside>
