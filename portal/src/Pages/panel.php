<?php
/** @var Zorvia\Portal\View $v */
?>
<!doctype html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<title>会员登录</title>
<link rel="stylesheet" href="/static/panel.css">
</head>
<body>
<?php if ($user === null): ?>
<form method="post" action="/mini.php?action=login" accept-charset="utf-8" autocomplete="on">
  <div class="row"><label for="username">用户</label><input id="username" name="username" value="<?= $v->e($name) ?>" maxlength="16"></div>
  <div class="row"><label for="password">密码</label><input id="password" name="password" type="password" maxlength="32"></div>
  <div class="row buttons"><button type="submit">登录</button><a href="/mini.php?action=register" target="_blank">免费注册</a></div>
  <?php if ($error !== ''): ?>
  <p class="error"><?= $v->e($error) ?></p>
  <?php else: ?>
  <p class="hint">演示账号 <b><?= $v->e($demoUser) ?></b> / <b><?= $v->e($demoPassword) ?></b></p>
  <?php endif ?>
</form>
<span id="loginflag" hidden>form</span>
<?php else: ?>
<div class="welcome">
  <p>欢迎回来，<b id="username"><?= $v->e($user['name']) ?></b></p>
  <p class="count">已收藏 <b id="favcount"><?= (int) $favCount ?></b> 个游戏</p>
  <p class="links"><a href="/mini.php?action=myfav" target="_blank">我的收藏</a><a href="/mini.php?action=logout">退出登录</a></p>
</div>
<span id="loginflag" hidden>login</span>
<?php endif ?>
<script>
  // A login or account change made in another page of the box shows up here.
  try {
    new BroadcastChannel(<?= json_encode($channel) ?>).onmessage = function () {
      location.replace("/mini.php?action=login");
    };
  } catch (e) {}
<?php if ($user !== null): ?>
  // Games added or removed elsewhere (the game box's own requests among
  // them) show up in the count without reloading the panel.
  setInterval(function () {
    var request = new XMLHttpRequest();
    request.open("GET", "/mini.php?action=favcount");
    request.onload = function () {
      if (request.status === 200 && /^\d+$/.test(request.responseText))
        document.getElementById("favcount").textContent = request.responseText;
    };
    request.send();
  }, 3000);
<?php endif ?>
</script>
</body>
</html>
