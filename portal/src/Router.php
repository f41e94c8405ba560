<?php

declare(strict_types=1);

namespace Zorvia\Portal;

/** Maps a request path to its reply. */
final class Router
{
    public static function dispatch(string $method, string $uri): Response
    {
        $path = rawurldecode((string) parse_url($uri, PHP_URL_PATH));
        if ($method !== 'GET' && $method !== 'HEAD' && $method !== 'POST') {
            return Response::text('Method Not Allowed', 405)->withHeader('Allow: GET, HEAD, POST');
        }
        if ($path === '/' || $path === '/mini.php' || $path === '/index.php') {
            return self::mini($method);
        }
        if ($path === '/crossdomain.xml') {
            return self::crossDomainPolicy();
        }
        if ($path === '/wendo') {
            return Response::redirect('/wendo/', 301);
        }
        if ($path === '/wendo/') {
            return Response::html((new View())->render('upgrade', ['version' => '1.0.0']));
        }
        $file = match (true) {
            str_starts_with($path, '/games/') => (new Files(Runtime::gamesDir(), 3600))->get(substr($path, 7)),
            str_starts_with($path, '/ruffle/') => (new Files(Runtime::playerDir(), self::playerMaxAge($path)))->get(substr($path, 8)),
            str_starts_with($path, '/static/') => (new Files(Runtime::publicDir(), 600))->get(substr($path, 8)),
            default => null,
        };
        if ($file !== null) {
            return $file;
        }
        return Response::html((new View())->render('missing', []), 404);
    }

    private static function mini(string $method): Response
    {
        $db = Database::open(Runtime::databaseFile());
        return (new MiniEndpoint($db, $method, $_GET, $_POST, $_COOKIE))->handle();
    }

    /**
     * The file host's policy for Flash movies: on localhost, movies of the
     * portal's pages on 127.0.0.1 may read its files. The portal's own host
     * has none.
     */
    private static function crossDomainPolicy(): Response
    {
        $host = strtolower((string) ($_SERVER['HTTP_HOST'] ?? ''));
        if (!str_starts_with($host, 'localhost') || Runtime::otherLoopbackName($host) === null) {
            return Response::html((new View())->render('missing', []), 404);
        }
        return Response::text('<?xml version="1.0"?>' . "\n"
            . '<cross-domain-policy>' . "\n"
            . '  <allow-access-from domain="127.0.0.1"/>' . "\n"
            . '</cross-domain-policy>' . "\n");
    }

    /** The player's parts carry content hashes in their names and never change; its loader may. */
    private static function playerMaxAge(string $path): int
    {
        return preg_match('/[0-9a-f]{20}\.(wasm|js)$/', $path) ? 31536000 : 3600;
    }
}
