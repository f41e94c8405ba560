<?php

declare(strict_types=1);

// The demo portal end to end: php demo_portal_test.php <portal folder>

require __DIR__ . '/portal_client.php';
require __DIR__ . '/swf_check.php';

$portalDir = realpath($argv[1] ?? __DIR__ . '/../../portal');
$passed = 0;
$failed = 0;
function check(bool $ok, string $what, string $detail = ''): bool
{
    global $passed, $failed;
    $ok ? ++$passed : ++$failed;
    echo ($ok ? 'ok   ' : 'FAIL ') . $what . ($ok || $detail === '' ? '' : "\n       $detail") . "\n";
    return $ok;
}
function same(mixed $want, mixed $got, string $what): bool
{
    return check($want === $got, $what, 'want ' . var_export($want, true) . ', got ' . var_export($got, true));
}
/** @return list<int> ids in "?itemid=N" links */
function itemLinks(string $html): array
{
    preg_match_all('/href="\/mini\.php\?itemid=(\d+)"/', $html, $m);
    return array_values(array_unique(array_map('intval', $m[1])));
}
function cards(string $html): int
{
    return substr_count($html, 'class="card"');
}

$dataDir = sys_get_temp_dir() . '/zorvia-portal-test-' . getmypid() . '-' . bin2hex(random_bytes(3));
$portal = null;
register_shutdown_function(function () use (&$portal, $dataDir) {
    $portal?->stop();
    exec('rm -rf ' . escapeshellarg($dataDir) . ' ' . escapeshellarg($dataDir . '.log'));
});

$start = function () use ($portalDir, $dataDir): PortalProcess {
    for ($try = 0; $try < 3; ++$try) {
        $p = new PortalProcess($portalDir, $dataDir, PortalProcess::freePort());
        if ($p->waitUntilUp(15)) {
            return $p;
        }
        $p->stop();
    }
    fwrite(STDERR, "portal did not start:\n" . $p->log());
    exit(1);
};
$portal = $start();
$port = $portal->port;
$get = function (string $query, ?string $cookie = null) use (&$port): Reply {
    return Http::get($port, '/mini.php?' . $query, $cookie);
};

// --- Lists and words the game box reads -------------------------------------
$cat = $get('action=catlist');
same('HTTP/1.1 200 OK', $cat->statusLine, 'catlist answers 200');
check($cat->header('Transfer-Encoding') === null, 'catlist is not chunked');
check((bool) preg_match('/^(?:[1-9]\d*\|[^|\r\n]+\|){8}$/u', $cat->body), 'catlist is 8 records of id|name|', $cat->body);
preg_match_all('/(\d+)\|([^|]+)\|/u', $cat->body, $m, PREG_SET_ORDER);
$categories = array_column($m, 2, 1);
check(in_array('益智游戏', $categories, true), 'catlist carries the Chinese names', $cat->body);

$loggedOut = [
    ['action=favlist', ''], ['favadd=101', 'USER'], ['favadd=99999', 'USER'], ['favdel=101', 'USER'],
];
foreach ($loggedOut as [$q, $want]) {
    same($want, $get($q)->body, "logged out: $q");
}
$panel = $get('action=login');
same('form', $panel->marker('loginflag'), 'logged out: the panel reads "form"');
check(str_contains($panel->body, '<input id="username" name="username"'), 'logged out: the panel has the username field');
check(str_contains($panel->body, 'target="_blank"'), 'the panel has a link opening a new window');

// --- Login, favourites ---------------------------------------------------------
$bad = Http::post($port, '/mini.php?action=login', ['username' => 'demo', 'password' => 'wrong']);
check($bad->cookie('zvsid') === null && $bad->marker('loginflag') === 'form'
    && str_contains($bad->body, '用户名或密码错误'), 'a wrong password is refused with a message');
$login = Http::post($port, '/mini.php?action=login', ['username' => 'demo', 'password' => 'demo123']);
$cookie = $login->cookie('zvsid');
check($login->status() === 303 && $cookie !== null, 'the demo account logs in and gets a session cookie', $login->statusLine);
check(strlen((string) $cookie) < 256, 'the session cookie fits the game box\'s 256-byte buffer');
$panel = $get('action=login', $cookie);
same('login', $panel->marker('loginflag'), 'logged in: the panel reads "login"');
same('demo', $panel->marker('username'), 'logged in: the panel names the user');
check(str_contains($panel->body, 'action=logout'), 'logged in: the panel has a logout link');

$favourites = [
    ['favadd=101', 'OK'], ['favadd=101', 'EXIST'], ['favadd=99999', 'NOID'], ['favadd=abc', 'NOID'],
    ['favadd=', 'NOID'], ['favadd=0', 'NOID'], ['favadd=101%20OR%201=1', 'NOID'], ['favadd[]=101', 'NOID'],
    ['favadd=106', 'OK'], ['favadd=130', 'OK'],
];
foreach ($favourites as [$q, $want]) {
    same($want, $get($q, $cookie)->body, "logged in: $q");
}
same('101|2048 数字合并|106|Tom\'s 大冒险|130|Max\'s "Rocket" 发射|', $get('action=favlist', $cookie)->body,
    'favlist lists the favourites in the order they were added');
same('3', $get('action=favcount', $cookie)->body, 'favcount counts the favourites');
check(str_contains($get('action=login', $cookie)->body, 'action=favcount'), 'the login panel keeps its count up to date');
foreach ([['favdel=101', 'OK'], ['favdel=101', 'NOID'], ['favdel=x', 'NOID'], ['favdel=130', 'OK']] as [$q, $want]) {
    same($want, $get($q, $cookie)->body, "logged in: $q");
}
same('106|Tom\'s 大冒险|', $get('action=favlist', $cookie)->body, 'favdel removes only its game');
same('1', $get('action=favcount', $cookie)->body, 'favcount follows deleting');
same('', $get('action=favcount')->body, 'favcount is empty for nobody');

$other = Http::post($port, '/mini.php?action=register', ['username' => '测试玩家', 'password' => 'secret1', 'password2' => 'secret1']);
$otherCookie = $other->cookie('zvsid');
check($otherCookie !== null && str_contains($other->body, '注册成功'), 'a new member can register and is logged in');
same('', $get('action=favlist', $otherCookie)->body, 'favourites belong to their member');
$registrations = [
    [['username' => '测试玩家', 'password' => 'secret1', 'password2' => 'secret1'], '该用户名已被注册'],
    [['username' => 'DEMO', 'password' => 'secret1', 'password2' => 'secret1'], '该用户名已被注册'],
    [['username' => 'x', 'password' => 'secret1', 'password2' => 'secret1'], '用户名须为'],
    [['username' => 'a<b>', 'password' => 'secret1', 'password2' => 'secret1'], '用户名须为'],
    [['username' => 'newbie', 'password' => '12345', 'password2' => '12345'], '密码长度'],
    [['username' => 'newbie', 'password' => 'secret1', 'password2' => 'secret2'], '不一致'],
];
foreach ($registrations as [$form, $message]) {
    $r = Http::post($port, '/mini.php?action=register', $form);
    check($r->cookie('zvsid') === null && str_contains($r->body, $message), "registration refused: $message ({$form['username']})");
}

$logout = $get('action=logout', $cookie);
check($logout->status() === 303 && str_contains((string) $logout->header('Set-Cookie'), 'zvsid=deleted'), 'logout clears the cookie');
same('USER', $get('favadd=106', $cookie)->body, 'after logout the old cookie is no longer a login');
same('form', $get('action=login', $cookie)->marker('loginflag'), 'after logout the panel reads "form"');

// --- Pages ---------------------------------------------------------------------
$home = $get('');
check($home->status() === 200 && str_contains($home->body, 'target="_blank"'), 'the start page has a link opening a new window');
foreach (array_keys($categories) as $id) {
    check(str_contains($home->body, "href=\"/mini.php?catid=$id\""), "the start page links category $id");
}
$games = [];
foreach ($categories as $id => $name) {
    $page = $get("catid=$id");
    $mine = [];
    foreach (explode('class="card"', $page->body) as $i => $card) {
        if ($i > 0 && str_contains($card, 'target="_blank"')) {
            $mine = array_merge($mine, itemLinks($card));
        }
    }
    check($page->status() === 200 && $mine !== [] && str_contains($page->body, '<title>' . $name), "category $id page lists its games");
    $games = array_merge($games, array_unique($mine));
}
same(41, count(array_unique($games)), 'the category pages reach 41 games');

$files = [];
$sizes = [];
foreach ($games as $id) {
    $page = $get("itemid=$id");
    $url = $page->marker('swfurl');
    $title = preg_match('/<title>(.*)<\/title>/', $page->body, $t) ? html_entity_decode($t[1], ENT_QUOTES | ENT_HTML5) : '';
    $ok = check(
        $page->status() === 200 && $page->marker('gameid') === (string) $id
        && is_string($url) && preg_match('/^games\/[a-z0-9_]+\.swf$/D', $url)
        && preg_match('/^[^<>]+$/u', html_entity_decode((string) $page->marker('swfhelp'), ENT_QUOTES | ENT_HTML5)) && $title !== ''
        && str_contains($page->body, 'target="_blank"') && (str_contains($page->body, "http://localhost:$port/$url") || str_contains($page->body, urlencode("http://localhost:$port/$url")))
        && !str_contains($page->body, 'ruffle'),
        "game $id page carries gameid, swfurl, swfhelp as plain text, a title, the movie on the file host and no player of its own",
        "swfurl=" . var_export($url, true) . ' gameid=' . var_export($page->marker('gameid'), true)
    );
    if (!$ok) {
        continue;
    }
    $files[] = basename($url);
    // Fetched the way the download fetches: "GET /" + swfurl, no cookie.
    $swf = Http::get($port, '/' . $url, null, 20);
    $problem = $swf->statusLine !== 'HTTP/1.1 200 OK' ? "status '{$swf->statusLine}'"
        : ($swf->header('Content-Length') !== (string) strlen($swf->body) ? 'Content-Length does not match the body'
        : swfProblem($swf->body));
    check($problem === null, "game $id file $url is a valid movie", (string) $problem);
    $sizes[] = strlen($swf->body);
}
same(count($files), count(array_unique($files)), 'every game has its own file name');
check($sizes !== [] && min($sizes) < 1024 && max($sizes) >= 3 * 1024 * 1024, 'game files range from under 1 KB to several MB',
    $sizes === [] ? '' : min($sizes) . '..' . max($sizes));

// The file host: the game files under another origin, without headers for
// other origins, and a policy file that admits the portal's movies; the
// portal's own host has no policy.
$fromFileHost = fn (string $target) => Http::exchange($port, "GET $target HTTP/1.1\r\nHost: localhost:$port\r\nConnection: close\r\n\r\n", 10.0);
$movie = $fromFileHost('/games/bubble_pop.swf');
check($movie->statusLine === 'HTTP/1.1 200 OK' && swfProblem($movie->body) === null
    && $movie->header('Access-Control-Allow-Origin') === null, 'the file host serves the movies with no header for other origins');
check(str_contains($fromFileHost('/crossdomain.xml')->body, '<allow-access-from domain="127.0.0.1"/>'),
    'the file host\'s policy admits the portal\'s movies');
same(404, Http::get($port, '/crossdomain.xml')->status(), 'the portal host has no policy');
$pages = ['itemid=141' => 'zvWriteFlash(', 'itemid=129' => 'classid="clsid:D27CDB6E-AE6D-11cf-96B8-444553540000"',
    'itemid=101' => 'type="application/x-shockwave-flash"'];
foreach ($pages as $query => $markup) {
    check(str_contains($get($query)->body, $markup), "game page $query embeds with $markup");
}
check(!str_contains($get('itemid=129')->body, '<embed'), 'the object-only page has no embed');
check(str_contains($get('itemid=137')->body, 'src="/games/loader.swf"') && swfProblem(Http::get($port, '/games/loader.swf')->body) === null
    && $fromFileHost('/games/note.txt')->body === "score=1\n", 'the loader game\'s loader and text are served');
check(str_contains($get('itemid=101&player=1')->body, 'data="/games/'), 'with its own player a page takes the movie from its own host');

check(str_contains($get('itemid=101&player=1')->body, '<script src="/ruffle/ruffle.js">'),
    'a game page brings the portal\'s own player when asked with player=1');
$title = fn (Reply $r) => preg_match('/<title>(.*)<\/title>/', $r->body, $t) ? $t[1] : '';
same('Tom&#039;s 大冒险', $title($get('itemid=106')), 'a game page\'s title is the game name');

$searches = [
    // keyword (percent-encoded as the game box sends it), result cards, text on the page
    ['%E5%A4%A7%E5%86%92%E9%99%A9', 1, 'Tom&#039;s 大冒险'],
    ['Tom%27s', 1, 'Tom&#039;s 大冒险'],
    ['tom', 1, 'Tom&#039;s 大冒险'],
    ['2048', 1, '2048 数字合并'],
    ['%E6%A3%8B%E7%89%8C', 5, '棋牌'],
    ['%25', 0, '没有找到'],
    ['_', 0, '没有找到'],
    ['%3Cscript%3Ealert(1)%3C%2Fscript%3E', 0, '&lt;script&gt;'],
    ['', 0, '请输入关键字'],
    ['%20%20', 0, '请输入关键字'],
    ['%B4%F3', 0, '无法识别'],
];
foreach ($searches as [$kw, $count, $text]) {
    $r = $get("keyword=$kw");
    check($r->status() === 200 && cards($r->body) === $count && str_contains($r->body, $text),
        "search '$kw' finds $count", 'cards: ' . cards($r->body));
}

$missing = [
    ['/mini.php?itemid=99999', 404], ['/mini.php?itemid=abc', 404], ['/mini.php?catid=99', 404],
    ['/mini.php?action=nonsense', 404], ['/games/nothere.swf', 404], ['/games/..%2fportal.db', 404],
    ['/games/%2e%2e/portal.db', 404], ['/ruffle/..%2f..%2fpackage.json', 404], ['/static/..%2fserve.sh', 404],
    ['/wendo', 301], ['/wendo/', 200], ['/static/site.css', 200],
];
foreach ($missing as [$target, $status]) {
    same($status, Http::get($port, $target)->status(), "GET $target");
}
check(str_contains(Http::get($port, '/wendo/')->body, '升级'), 'the upgrade page is there');

// --- The player -------------------------------------------------------------------
$player = Http::get($port, '/ruffle/ruffle.js', null, 20);
check($player->status() === 200 && str_starts_with((string) $player->header('Content-Type'), 'text/javascript'),
    'the Flash player script is served (npm ci --prefix portal installs it)');
$wasm = glob($portalDir . '/node_modules/@ruffle-rs/ruffle/*.wasm') ?: [];
if (check($wasm !== [], 'the player\'s WebAssembly is installed')) {
    $r = Http::get($port, '/ruffle/' . basename($wasm[0]), null, 30);
    check($r->header('Content-Type') === 'application/wasm' && strlen($r->body) === filesize($wasm[0]),
        'the player\'s WebAssembly is served whole as application/wasm');
}

// --- Concurrency, restart, stop ---------------------------------------------------------
// A download that is not being read must not hold up the short replies.
$big = $files[array_search(max($sizes), $sizes, true)] ?? 'starfleet_hd.swf';
$slow = stream_socket_client("tcp://127.0.0.1:$port", $errno, $err, 5);
fwrite($slow, "GET /games/$big HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: Close\r\n\r\n");
stream_set_timeout($slow, 5);
fread($slow, 100);
same('HTTP/1.1 200 OK', $get('action=catlist')->statusLine, 'catlist answers while a big download stalls');
fclose($slow);

check($portal->stop(), 'serve.sh ends on TERM');
$closed = false;
for ($i = 0; $i < 40 && !$closed; ++$i) {
    $closed = !PortalProcess::accepts($port);
    $closed || usleep(100000);
}
check($closed, 'no server process is left listening after serve.sh ends');

$portal = $start();
$port = $portal->port;
$again = Http::post($port, '/mini.php?action=login', ['username' => 'demo', 'password' => 'demo123']);
same('106|Tom\'s 大冒险|', $get('action=favlist', $again->cookie('zvsid'))->body, 'favourites survive a restart');
same('OK', $get('favadd=140', $otherCookie)->body, 'sessions survive a restart');

$portal->stop();
$log = $portal->log();
check(!preg_match('/PHP (Warning|Notice|Deprecated|Fatal)|Stack trace/', $log), 'the portal logged no PHP warnings or errors');
if ($failed > 0) {
    echo "\nportal log:\n$log";
}

echo "\n$passed passed, $failed failed\n";
exit($failed === 0 ? 0 : 1);
