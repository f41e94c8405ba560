<?php
/** @var Zorvia\Portal\View $v */
$compact = $compact ?? false;
$activeCat = $activeCat ?? 0;
?>
<!doctype html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title><?= $v->e($title) ?></title>
<link rel="icon" href="/static/logo.svg" type="image/svg+xml">
<link rel="stylesheet" href="/static/site.css">
</head>
<body<?= $compact ? ' class="compact"' : '' ?>>
<header class="top">
  <a class="brand" href="/mini.php"><img src="/static/logo.svg" width="26" height="26" alt=""><span>Zorvia<b>游戏盒子</b></span></a>
  <?php if (!$compact): ?><span class="slogan">精品Flash小游戏，即点即玩</span><?php endif ?>
  <form class="search" action="/mini.php" method="get" accept-charset="utf-8">
    <input type="search" name="keyword" value="<?= $v->e($keyword ?? '') ?>" placeholder="搜索游戏名称" maxlength="40"><button type="submit">搜索</button>
  </form>
</header>
<?php if (!$compact && isset($cats)): ?>
<nav class="cats">
  <a href="/mini.php"<?= $activeCat === -1 ? ' class="on"' : '' ?>>首页</a>
  <?php foreach ($cats as $c): ?>
  <a href="<?= $v->categoryUrl($c) ?>"<?= (int) $c['id'] === $activeCat ? ' class="on"' : '' ?>><i style="background:<?= $v->e($c['color']) ?>"></i><?= $v->e($c['name']) ?></a>
  <?php endforeach ?>
</nav>
<?php endif ?>
<?= $content ?>
</body>
</html>
