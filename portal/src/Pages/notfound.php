<?php
/** @var Zorvia\Portal\View $v */
?>
<main class="listing">
  <section class="main">
    <p class="crumbs"><a href="/mini.php">首页</a> › 出错了</p>
    <p class="empty"><?= $v->e($message) ?>。<br><a href="/mini.php">返回首页</a>看看别的游戏吧。</p>
  </section>
<?= $v->render('ranked', ['title' => '热门游戏', 'games' => $popular]) ?>
</main>
