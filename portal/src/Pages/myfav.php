<?php
/** @var Zorvia\Portal\View $v */
?>
<main class="listing wide">
  <section class="main">
    <?php if ($user === null): ?>
      <p class="crumbs"><a href="/mini.php">首页</a> › 我的收藏</p>
      <p class="empty">请先在左下角的会员面板登录，再来查看收藏的游戏。</p>
    <?php else: ?>
      <p class="crumbs"><a href="/mini.php">首页</a> › <?= $v->e($user['name']) ?> 的收藏 <small>共 <?= count($games) ?> 个游戏</small></p>
      <div class="grid">
        <?php foreach ($games as $game): ?>
          <?= $v->render('card', ['game' => $game]) ?>
        <?php endforeach ?>
      </div>
      <?php if ($games === []): ?><p class="empty">还没有收藏游戏。打开喜欢的游戏，点击“收藏本游戏”即可。</p><?php endif ?>
    <?php endif ?>
  </section>
</main>
