<?php

declare(strict_types=1);

namespace Zorvia\Portal;

/** Where the portal's code, seed files and run-time data live. */
final class Runtime
{
    public static function root(): string
    {
        return dirname(__DIR__);
    }

    /** Run-time data (database, generated games): $ZORVIA_PORTAL_DATA or portal/runtime. */
    public static function dataDir(): string
    {
        $dir = getenv('ZORVIA_PORTAL_DATA');
        return rtrim($dir !== false && $dir !== '' ? $dir : self::root() . '/runtime', '/');
    }

    public static function databaseFile(): string
    {
        return self::dataDir() . '/portal.db';
    }

    public static function gamesDir(): string
    {
        return self::dataDir() . '/games';
    }

    public static function seedDir(): string
    {
        return self::root() . '/seed';
    }

    public static function playerDir(): string
    {
        return self::root() . '/node_modules/@ruffle-rs/ruffle';
    }

    public static function publicDir(): string
    {
        return self::root() . '/public';
    }

    /**
     * The host that serves the game files of pages asked for under $host
     * ("name:port"), as Flash-era portals kept their files on a host of
     * their own: $ZORVIA_PORTAL_FILE_HOST, or else the other loopback name
     * of the same port (127.0.0.1 and localhost are two origins for a
     * browser); $host itself for any other name.
     */
    public static function fileHost(string $host): string
    {
        $env = getenv('ZORVIA_PORTAL_FILE_HOST');
        if ($env !== false && $env !== '') {
            return $env;
        }
        return self::otherLoopbackName($host) ?? $host;
    }

    /** "localhost:port" for "127.0.0.1:port" and the other way round; null for any other host. */
    public static function otherLoopbackName(string $host): ?string
    {
        if (!preg_match('/^(127\.0\.0\.1|localhost)(:\d+)?$/D', strtolower($host), $m)) {
            return null;
        }
        return ($m[1] === 'localhost' ? '127.0.0.1' : 'localhost') . ($m[2] ?? '');
    }
}
