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
}
