<?php

declare(strict_types=1);

namespace Zorvia\Portal;

use PDO;

/** Opens the portal database; several server workers share it. */
final class Database
{
    public static function open(string $file): PDO
    {
        $db = new PDO('sqlite:' . $file, null, null, [
            PDO::ATTR_ERRMODE => PDO::ERRMODE_EXCEPTION,
            PDO::ATTR_DEFAULT_FETCH_MODE => PDO::FETCH_ASSOC,
            PDO::ATTR_TIMEOUT => 5,
        ]);
        $db->exec('PRAGMA journal_mode = WAL');
        $db->exec('PRAGMA foreign_keys = ON');
        return $db;
    }
}
