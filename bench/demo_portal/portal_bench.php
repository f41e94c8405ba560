<?php

declare(strict_types=1);

// Figures for the demo portal: start-up (cold and warm), reply latency and
// game file throughput over loopback. Usage: php portal_bench.php [portal folder]

require __DIR__ . '/../../tests/demo_portal/portal_client.php';

$portalDir = realpath($argv[1] ?? __DIR__ . '/../../portal');
$dataDir = sys_get_temp_dir() . '/zorvia-portal-bench-' . getmypid();
$portal = null;
register_shutdown_function(function () use (&$portal, $dataDir) {
    $portal?->stop();
    exec('rm -rf ' . escapeshellarg($dataDir) . ' ' . escapeshellarg($dataDir . '.log'));
});

/** Starts the portal and returns the seconds until its port answered. */
function startTimed(string $portalDir, string $dataDir, ?PortalProcess &$portal): float
{
    $t = microtime(true);
    $portal = new PortalProcess($portalDir, $dataDir, PortalProcess::freePort());
    if (!$portal->waitUntilUp(30)) {
        fwrite(STDERR, "portal did not start:\n" . $portal->log());
        exit(1);
    }
    return microtime(true) - $t;
}

/** @return array{float,float} mean and 95th percentile in milliseconds */
function latency(int $rounds, callable $call): array
{
    $times = [];
    for ($i = 0; $i < $rounds; ++$i) {
        $t = hrtime(true);
        $call();
        $times[] = (hrtime(true) - $t) / 1e6;
    }
    sort($times);
    return [array_sum($times) / count($times), $times[(int) floor(0.95 * (count($times) - 1))]];
}

$cold = startTimed($portalDir, $dataDir, $portal);
$portal->stop();
$warm = startTimed($portalDir, $dataDir, $portal);
printf("start-up, empty data folder (database + 40 game files): %6.0f ms\n", $cold * 1000);
printf("start-up, prepared data folder:                         %6.0f ms\n", $warm * 1000);

$port = $portal->port;
$cookie = Http::post($port, '/mini.php?action=login', ['username' => 'demo', 'password' => 'demo123'])->cookie('zvsid');
foreach ([101, 106, 111, 123, 130] as $id) {
    Http::get($port, "/mini.php?favadd=$id", $cookie);
}
$cases = [
    'action=catlist' => null, 'action=favlist' => $cookie, 'favadd=106 (EXIST)' => $cookie,
    'itemid=106 (game page)' => null, '(start page)' => null, 'keyword=%E5%A4%A7 (search)' => null,
];
foreach ($cases as $label => $c) {
    $query = explode(' ', $label)[0];
    $target = $query === '(start' ? '/mini.php' : "/mini.php?$query";
    [$mean, $p95] = latency(200, fn () => Http::get($port, $target, $c));
    printf("%-28s mean %6.2f ms   p95 %6.2f ms   (200 requests)\n", $label, $mean, $p95);
}

$big = Http::get($port, '/games/starfleet_hd.swf', null, 30);
$t = microtime(true);
$rounds = 10;
$bytes = 0;
for ($i = 0; $i < $rounds; ++$i) {
    $bytes += strlen(Http::get($port, '/games/starfleet_hd.swf', null, 30)->body);
}
$s = microtime(true) - $t;
printf("largest game file %.1f MB: %d downloads, %.0f MB/s\n", strlen($big->body) / 1048576, $rounds, $bytes / 1048576 / $s);
printf("peak memory of this client: %.1f MB\n", memory_get_peak_usage() / 1048576);
