<?php
/** @var Zorvia\Portal\View $v @var array $game */
?>
<div class="card">
  <a class="pic" href="<?= $v->gameUrl($game) ?>" title="<?= $v->e($game['name']) ?>"><?= $v->thumb($game) ?></a>
  <?php if (!empty($newWindow)): ?><a class="newwin" href="<?= $v->gameUrl($game) ?>" target="_blank" title="在新窗口中打开">新窗口</a><?php endif ?>
  <a class="name" href="<?= $v->gameUrl($game) ?>" title="<?= $v->e($game['name']) ?>"><?= $v->e($game['name']) ?></a>
  <span class="meta"><?= $v->e($game['catname']) ?> · <?= $v->plays($game['plays']) ?>人玩过</span>
</div>
