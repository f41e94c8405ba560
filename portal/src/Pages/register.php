<?php
/** @var Zorvia\Portal\View $v */
?>
<main class="form-page">
  <?php if ($done): ?>
    <h1>注册成功</h1>
    <p>欢迎你，<b><?= $v->e($name) ?></b>！已经为你自动登录，左下角的会员面板会随之更新。</p>
    <p><a class="button" href="/mini.php">去首页挑游戏</a></p>
    <script>
      try { new BroadcastChannel(<?= json_encode($channel) ?>).postMessage("login"); } catch (e) {}
    </script>
  <?php else: ?>
    <h1>注册新用户</h1>
    <?php if ($user !== null): ?><p class="hint">你已经以 <b><?= $v->e($user['name']) ?></b> 的身份登录，注册新用户后将切换到新账号。</p><?php endif ?>
    <form method="post" action="/mini.php?action=register" accept-charset="utf-8">
      <label>用户名 <input name="username" value="<?= $v->e($name) ?>" maxlength="16" required autofocus></label>
      <label>密码 <input type="password" name="password" maxlength="32" required></label>
      <label>确认密码 <input type="password" name="password2" maxlength="32" required></label>
      <?php if ($error !== ''): ?><p class="error"><?= $v->e($error) ?></p><?php endif ?>
      <p class="hint">用户名 2-16 个汉字、字母、数字或下划线；密码 6-32 位。</p>
      <button type="submit">注册</button>
    </form>
  <?php endif ?>
</main>
