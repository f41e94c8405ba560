<?php
/** @var Zorvia\Portal\View $v */
$top = $featured[0] ?? null;
?>
<main class="home">
  <section class="main">
    <?php if ($top !== null): ?>
    <a class="hero" href="<?= $v->gameUrl($top) ?>">
      <?= $v->thumb($top, 146, 82) ?>
      <span class="hero-text">
        <em>今日推荐</em>
        <strong title="<?= $v->e($top['name']) ?>"><?= $v->e($top['name']) ?></strong>
        <small><?= $v->e($top['intro']) ?></small>
      </span>
      <span class="cta">开始游戏</span>
    </a>
    <?php endif ?>
    <h2>热门推荐 <small>大家都在玩</small></h2>
    <div class="grid">
      <?php foreach (array_slice($featured, 1, 8) as $game): ?>
        <?= $v->render('card', ['game' => $game]) ?>
      <?php endforeach ?>
    </div>
  </section>
  <aside>
    <h3>新游速递</h3>
    <ol class="ranked">
      <?php foreach ($newest as $game): ?>
      <li><a href="<?= $v->gameUrl($game) ?>" target="_blank" title="<?= $v->e($game['name']) ?>（新窗口打开）"><?= $v->e($game['name']) ?></a><span><?= $v->e(substr($game['added'], 5)) ?></span></li>
      <?php endforeach ?>
    </ol>
    <p class="note">演示账号 <b>demo</b> / <b>demo123</b>，登录后可收藏游戏。<br><a href="/wendo/" target="_blank">检查软件更新</a></p>
  </aside>
</main>
