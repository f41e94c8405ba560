/* 检测浏览器是否安装了 Flash 播放器（9.0 以上），有则写出游戏，没有则提示安装。 */
function zvFlashVersion() {
  var plugin = navigator.plugins && navigator.plugins['Shockwave Flash'];
  var type = navigator.mimeTypes && navigator.mimeTypes['application/x-shockwave-flash'];
  if (!plugin || !plugin.description || (type && !type.enabledPlugin))
    return 0;
  var version = plugin.description.replace(/^.*\s+(\S+\s+\S+$)/, '$1');
  return parseInt(version.replace(/^(.*)\..*$/, '$1'), 10) || 0;
}

function zvWriteFlash(url, width, height) {
  if (zvFlashVersion() >= 9) {
    document.write('<embed src="' + url + '" width="' + width + '" height="' + height +
                   '" type="application/x-shockwave-flash" quality="high" allowScriptAccess="always">');
  } else {
    document.write('<div class="noplayer" style="width:' + width + 'px;height:' + height + 'px">' +
                   '<b>您的浏览器没有安装Flash播放器</b><a href="/mini.php">请先安装Flash播放器</a></div>');
  }
}
