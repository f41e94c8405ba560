<?php
/** @var Zorvia\Portal\View $v */
?>
<!doctype html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<title>软件升级 - Zorvia游戏盒子</title>
<link rel="icon" href="/static/logo.svg" type="image/svg+xml">
<link rel="stylesheet" href="/static/site.css">
</head>
<body class="upgrade">
<main class="form-page">
  <h1><img src="/static/logo.svg" width="32" height="32" alt=""> Zorvia游戏盒子 软件升级</h1>
  <p class="ok">您使用的已经是最新版本 <b><?= $v->e($version) ?></b>，无需升级。</p>
  <h3>版本 <?= $v->e($version) ?> 更新内容</h3>
  <ul>
    <li>在线游戏分类列表，点击即可在新标签页中打开</li>
    <li>会员登录后可收藏游戏，收藏列表随账号同步</li>
    <li>游戏可下载到本机，断网也能玩</li>
    <li>老板键 <b>Ctrl+D</b> 一键隐藏窗口</li>
  </ul>
  <p><a href="/mini.php">返回门户首页</a></p>
</main>
</body>
</html>
