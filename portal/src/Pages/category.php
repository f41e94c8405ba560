<?php
/** @var Zorvia\Portal\View $v */
?>
<main class="listing">
  <section class="main">
    <p class="crumbs"><a href="/mini.php">首页</a> › <?= $v->e($cat['name']) ?> <small><?= $v->e($cat['intro']) ?> · 共 <?= count($games) ?> 个游戏</small></p>
    <div class="grid">
      <?php foreach ($games as $game): ?>
        <?= $v->render('card', ['game' => $game, 'newWindow' => true]) ?>
      <?php endforeach ?>
    </div>
    <?php if ($games === []): ?><p class="empty">这个分类还没有游戏，敬请期待。</p><?php endif ?>
    <?php if ($more !== []): ?>
    <h2>大家还在玩 <small>其他分类的热门游戏</small></h2>
    <div class="grid">
      <?php foreach ($more as $game): ?>
        <?= $v->render('card', ['game' => $game]) ?>
      <?php endforeach ?>
    </div>
    <?php endif ?>
  </section>
<?= $v->render('ranked', ['title' => '人气排行', 'games' => $popular]) ?>
</main>
