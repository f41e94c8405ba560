<?php
/** @var Zorvia\Portal\View $v */
$scale = min(548 / $game['width'], 436 / $game['height']);
$w = (int) floor($game['width'] * $scale);
$h = (int) floor($game['height'] * $scale);
$swf = 'games/' . $game['swf'];
$movieUrl = $fileBase . '/' . $swf;
?>
<main class="gamepage">
  <section class="stage">
    <?php if ($markup === 'detect'): ?>
    <script src="/static/flashcheck.js"></script>
    <script>zvWriteFlash(<?= json_encode($movieUrl, JSON_UNESCAPED_SLASHES | JSON_HEX_TAG | JSON_HEX_AMP | JSON_HEX_APOS | JSON_HEX_QUOT) ?>, <?= $w ?>, <?= $h ?>);</script>
    <?php elseif ($markup === 'loader'): ?>
    <embed src="/games/loader.swf" type="application/x-shockwave-flash" width="<?= $w ?>" height="<?= $h ?>"
      flashvars="<?= $v->e(http_build_query(['movie' => $movieUrl, 'data' => $fileBase . '/games/note.txt'])) ?>">
    <?php elseif ($markup === 'classid'): ?>
    <object classid="clsid:D27CDB6E-AE6D-11cf-96B8-444553540000" width="<?= $w ?>" height="<?= $h ?>">
      <param name="movie" value="<?= $v->e($movieUrl) ?>">
      <param name="quality" value="high">
    </object>
    <?php else: ?>
    <object type="application/x-shockwave-flash" data="<?= $v->e($movieUrl) ?>" width="<?= $w ?>" height="<?= $h ?>">
      <param name="movie" value="<?= $v->e($movieUrl) ?>">
      <param name="quality" value="high">
      <div class="noplayer" style="width:<?= $w ?>px;height:<?= $h ?>px">
        <b>游戏播放器没有加载成功</b>
        <span>请刷新页面重试，或者点击“下载本游戏”后离线游玩。</span>
      </div>
    </object>
    <?php endif ?>
  </section>
  <aside>
    <p class="crumbs"><a href="/mini.php">首页</a> › <a href="/mini.php?catid=<?= (int) $game['catid'] ?>"><?= $v->e($game['catname']) ?></a></p>
    <h1 title="<?= $v->e($game['name']) ?>"><?= $v->e($game['name']) ?></h1>
    <p class="meta"><?= $v->plays($game['plays']) ?>人玩过 · <?= (int) $game['width'] ?>×<?= (int) $game['height'] ?> · <?= $v->e($game['added']) ?></p>
    <p class="intro"><?= $v->e($game['intro']) ?></p>
    <h3>操作说明</h3>
    <div class="help" id="swfhelp"><?= $v->e($game['help']) ?></div>
    <?php if ($related !== []): ?>
    <h3>同类游戏 <small>（新窗口打开）</small></h3>
    <ul class="related">
      <?php foreach ($related as $other): ?>
      <li><a href="<?= $v->gameUrl($other) ?>" target="_blank" title="<?= $v->e($other['name']) ?>"><?= $v->e($other['name']) ?></a></li>
      <?php endforeach ?>
    </ul>
    <?php endif ?>
  </aside>
  <span id="swfurl" hidden><?= $v->e($swf) ?></span>
  <span id="gameid" hidden><?= (int) $game['id'] ?></span>
</main>
<?php if (!empty($ownPlayer)): ?>
<script>
  window.RufflePlayer = window.RufflePlayer || {};
  window.RufflePlayer.config = {
    publicPath: "/ruffle/", autoplay: "on", unmuteOverlay: "hidden", splashScreen: false,
    letterbox: "on", contextMenu: "rightClickOnly", showSwfDownload: false,
    warnOnUnsupportedContent: false, logLevel: "error"
  };
</script>
<script src="/ruffle/ruffle.js"></script>
<?php endif ?>

