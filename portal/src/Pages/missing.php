<!doctype html>
<html lang="zh-CN">
<head><meta charset="utf-8"><title>页面不存在</title><link rel="stylesheet" href="/static/site.css"></head>
<body>
<main class="form-page">
  <h1>404 页面不存在</h1>
  <p>您要找的文件不存在或已被删除。</p>
  <p><a href="/mini.php">返回门户首页</a></p>
</main>
</body>
</html>
