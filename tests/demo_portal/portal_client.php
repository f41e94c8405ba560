<?php

declare(strict_types=1);

/**
 * Test helpers: a portal process on loopback and raw HTTP exchanges written
 * the way the game box writes them.
 */
final class PortalProcess
{
    /** @var resource */
    private $proc;
    public readonly int $pid;

    public function __construct(string $portalDir, public readonly string $dataDir, public readonly int $port)
    {
        $env = ['PATH' => getenv('PATH') ?: '/usr/bin:/bin', 'ZORVIA_PORTAL_DATA' => $dataDir, 'ZORVIA_PORTAL_WORKERS' => '3'];
        $log = $dataDir . '.log';
        $proc = proc_open(['bash', $portalDir . '/serve.sh', "127.0.0.1:$port"], [0 => ['file', '/dev/null', 'r'],
            1 => ['file', $log, 'a'], 2 => ['file', $log, 'a']], $pipes, null, $env);
        if ($proc === false) {
            throw new RuntimeException('cannot start serve.sh');
        }
        $this->proc = $proc;
        $this->pid = proc_get_status($proc)['pid'];
    }

    /** Waits until the port answers; false after $seconds or when the script ended. */
    public function waitUntilUp(float $seconds): bool
    {
        $deadline = microtime(true) + $seconds;
        while (microtime(true) < $deadline) {
            if (!proc_get_status($this->proc)['running']) {
                return false;
            }
            $s = @stream_socket_client("tcp://127.0.0.1:{$this->port}", $errno, $err, 0.2);
            if ($s !== false) {
                fclose($s);
                return true;
            }
            usleep(50000);
        }
        return false;
    }

    /** Ends serve.sh with TERM and waits for it (bounded). */
    public function stop(float $seconds = 5.0): bool
    {
        if (!proc_get_status($this->proc)['running']) {
            return true;
        }
        posix_kill($this->pid, SIGTERM);
        $deadline = microtime(true) + $seconds;
        while (microtime(true) < $deadline) {
            if (!proc_get_status($this->proc)['running']) {
                return true;
            }
            usleep(50000);
        }
        posix_kill($this->pid, SIGKILL);
        return false;
    }

    public function log(): string
    {
        return (string) @file_get_contents($this->dataDir . '.log');
    }

    public static function freePort(): int
    {
        $s = stream_socket_server('tcp://127.0.0.1:0', $errno, $err);
        if ($s === false) {
            throw new RuntimeException("no free port: $err");
        }
        $name = stream_socket_get_name($s, false);
        fclose($s);
        return (int) substr($name, strrpos($name, ':') + 1);
    }

    public static function accepts(int $port): bool
    {
        $s = @stream_socket_client("tcp://127.0.0.1:$port", $errno, $err, 0.5);
        if ($s === false) {
            return false;
        }
        fclose($s);
        return true;
    }
}

final class Reply
{
    /** @param list<string> $headers */
    public function __construct(public readonly string $statusLine, public readonly array $headers, public readonly string $body)
    {
    }

    public function status(): int
    {
        return (int) (explode(' ', $this->statusLine)[1] ?? 0);
    }

    /** The value of the first header line that starts exactly with "$name: ". */
    public function header(string $name): ?string
    {
        foreach ($this->headers as $line) {
            if (str_starts_with($line, $name . ': ')) {
                return substr($line, strlen($name) + 2);
            }
        }
        return null;
    }

    /** The "name=value" of a Set-Cookie line for $cookie, or null. */
    public function cookie(string $cookie): ?string
    {
        foreach ($this->headers as $line) {
            if (preg_match('/^Set-Cookie: (' . preg_quote($cookie, '/') . '=[^;]*)/i', $line, $m)) {
                return $m[1];
            }
        }
        return null;
    }

    /**
     * Inner HTML of the first element whose id or name is $marker (as the
     * game box looks markers up); null when there is none.
     */
    public function marker(string $marker): ?string
    {
        $q = preg_quote($marker, '/');
        if (!preg_match('/<([a-z][a-z0-9]*)\b[^>]*\s(?:id|name)="' . $q . '"[^>]*>/i', $this->body, $m, PREG_OFFSET_CAPTURE)) {
            return null;
        }
        $tag = strtolower($m[1][0]);
        $start = $m[0][1] + strlen($m[0][0]);
        if (in_array($tag, ['input', 'br', 'img', 'meta', 'link'], true)) {
            return '';
        }
        // Find the matching end tag, counting nested elements of the same name.
        $depth = 1;
        $pos = $start;
        while (preg_match('/<(\/?)' . $tag . '\b[^>]*>/i', $this->body, $t, PREG_OFFSET_CAPTURE, $pos)) {
            $depth += $t[1][0] === '/' ? -1 : 1;
            $pos = $t[0][1] + strlen($t[0][0]);
            if ($depth === 0) {
                return substr($this->body, $start, $t[0][1] - $start);
            }
        }
        return null;
    }
}

final class Http
{
    /**
     * One exchange on a new connection. GET requests carry exactly the game
     * box's header lines; the reply is read until the server closes, at most
     * $timeout seconds.
     */
    public static function get(int $port, string $target, ?string $cookie = null, float $timeout = 10.0): Reply
    {
        $lines = [
            "GET $target HTTP/1.1",
            "Host: 127.0.0.1:$port",
            'Accept: */*',
            'User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98',
            'Pragma: no-cache',
            'Cache-Control: no-cache',
            'Connection: Close',
        ];
        if ($cookie !== null) {
            $lines[] = "Cookie: $cookie";
        }
        return self::exchange($port, implode("\r\n", $lines) . "\r\n\r\n", $timeout);
    }

    /** @param array<string,string> $form */
    public static function post(int $port, string $target, array $form, ?string $cookie = null): Reply
    {
        $body = http_build_query($form);
        $head = "POST $target HTTP/1.1\r\nHost: 127.0.0.1:$port\r\nConnection: close\r\n"
            . "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " . strlen($body) . "\r\n"
            . ($cookie !== null ? "Cookie: $cookie\r\n" : '') . "\r\n";
        return self::exchange($port, $head . $body, 10.0);
    }

    public static function exchange(int $port, string $request, float $timeout): Reply
    {
        $s = stream_socket_client("tcp://127.0.0.1:$port", $errno, $err, 5);
        if ($s === false) {
            return new Reply('', [], '');
        }
        fwrite($s, $request);
        $raw = '';
        $deadline = microtime(true) + $timeout;
        while (!feof($s) && microtime(true) < $deadline) {
            stream_set_timeout($s, 0, 200000);
            $raw .= (string) fread($s, 65536);
        }
        fclose($s);
        $split = strpos($raw, "\r\n\r\n");
        if ($split === false) {
            return new Reply('', [], '');
        }
        $head = explode("\r\n", substr($raw, 0, $split));
        return new Reply(array_shift($head), $head, substr($raw, $split + 4));
    }
}
