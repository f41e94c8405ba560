<?php
/** @var Zorvia\Portal\View $v */
?>
<main class="listing">
  <section class="main">
    <p class="crumbs"><a href="/mini.php">首页</a> › 出错了</p>
    <p class="empty"><?= $v->e($message) ?>。<br><a href="/mini.php">返回首页</a>看看别的游戏吧。</p>
  </section>
  <aside>
    <h3>热门游戏</h3>
    <ol class="ranked">
      <?php foreach ($popular as $game): ?>
      <li><a href="<?= $v->gameUrl($game) ?>" title="<?= $v->e($game['name']) ?>"><?= $v->e($game['name']) ?></a><span><?= $v->plays($game['plays']) ?></span></li>
      <?php endforeach ?>
    </ol>
  </aside>
</main>
