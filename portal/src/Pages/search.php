<?php
/** @var Zorvia\Portal\View $v */
?>
<main class="listing">
  <section class="main">
    <?php if ($message !== ''): ?>
      <p class="crumbs"><a href="/mini.php">首页</a> › 搜索</p>
      <p class="empty"><?= $v->e($message) ?></p>
    <?php elseif ($results === []): ?>
      <p class="crumbs"><a href="/mini.php">首页</a> › 搜索</p>
      <p class="empty">没有找到与“<b><?= $v->e($keyword) ?></b>”相关的游戏，换个关键字试试，或者看看右边的热门游戏。</p>
    <?php else: ?>
      <p class="crumbs"><a href="/mini.php">首页</a> › 搜索 <small>找到 <?= count($results) ?> 个与“<b><?= $v->e($keyword) ?></b>”相关的游戏</small></p>
      <div class="grid results">
        <?php foreach ($results as $game): ?>
          <?= $v->render('card', ['game' => $game]) ?>
        <?php endforeach ?>
      </div>
    <?php endif ?>
  </section>
<?= $v->render('ranked', ['title' => '热门游戏', 'games' => $popular]) ?>
</main>
