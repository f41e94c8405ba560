<?php

declare(strict_types=1);

namespace Zorvia\Portal;

use PDO;
use Zorvia\Portal\Swf\GameArt;
use Zorvia\Portal\Swf\LoaderArt;

/**
 * Prepares the run-time folder before the server starts: the database
 * (schema, catalogue, demo account) and the game files. Work already done is
 * kept, so a restart is quick and accounts and favourites survive it.
 */
final class Setup
{
    public const DEMO_USER = 'demo';
    public const DEMO_PASSWORD = 'demo123';

    /** @return list<string> what was done, for the start-up log */
    public static function run(): array
    {
        $dir = Runtime::dataDir();
        self::makeDir($dir);
        self::makeDir(Runtime::gamesDir());

        $lock = fopen($dir . '/.setup.lock', 'c');
        if ($lock === false || !flock($lock, LOCK_EX)) {
            throw new \RuntimeException("cannot lock $dir/.setup.lock");
        }
        try {
            $db = Database::open(Runtime::databaseFile());
            $log = self::prepareDatabase($db);
            $written = self::writeGames($db);
            if ($written > 0) {
                $log[] = "generated $written game files";
            }
            return $log;
        } finally {
            flock($lock, LOCK_UN);
            fclose($lock);
        }
    }

    /** @return list<string> */
    private static function prepareDatabase(PDO $db): array
    {
        $log = [];
        $db->exec(self::read(Runtime::seedDir() . '/schema.sql'));
        $catalog = self::read(Runtime::seedDir() . '/catalog.sql');
        $hash = sha1($catalog);
        $stored = $db->query("SELECT value FROM meta WHERE key = 'catalog'")->fetchColumn();
        if ($stored !== $hash) {
            $db->beginTransaction();
            $db->exec('DELETE FROM games');
            $db->exec('DELETE FROM categories');
            $db->exec($catalog);
            $db->exec('DELETE FROM favourites WHERE game_id NOT IN (SELECT id FROM games)');
            $db->prepare("INSERT OR REPLACE INTO meta (key, value) VALUES ('catalog', ?)")->execute([$hash]);
            $db->commit();
            $log[] = 'loaded the catalogue';
        }
        $accounts = new Accounts($db);
        if ($accounts->findUser(self::DEMO_USER) === null) {
            $accounts->register(self::DEMO_USER, self::DEMO_PASSWORD);
            $log[] = 'created the demo account';
        }
        $accounts->purgeExpiredSessions();
        return $log;
    }

    /** Writes the game files that are missing or were made from other art. */
    private static function writeGames(PDO $db): int
    {
        $stampFile = Runtime::gamesDir() . '/.stamp';
        $stamp = self::artStamp();
        $fresh = is_file($stampFile) && trim((string) file_get_contents($stampFile)) === $stamp;
        $written = 0;
        foreach ($db->query('SELECT * FROM games ORDER BY id') as $game) {
            $file = Runtime::gamesDir() . '/' . $game['swf'];
            if ($fresh && is_file($file)) {
                continue;
            }
            self::writeAtomically($file, GameArt::render($game));
            ++$written;
        }
        // The loader of the game that brings its movie and a text from the
        // file host (see MiniEndpoint), and that text.
        self::writeAtomically(Runtime::gamesDir() . '/loader.swf', LoaderArt::render(550, 400, 0, 0));
        self::writeAtomically(Runtime::gamesDir() . '/note.txt', "score=1\n");
        self::writeAtomically($stampFile, $stamp . "\n");
        return $written;
    }

    /** Changes whenever the catalogue or the drawing code changes. */
    private static function artStamp(): string
    {
        $ctx = hash_init('sha1');
        hash_update_file($ctx, Runtime::seedDir() . '/catalog.sql');
        foreach (glob(__DIR__ . '/Swf/*.php') ?: [] as $source) {
            hash_update_file($ctx, $source);
        }
        return hash_final($ctx);
    }

    private static function writeAtomically(string $file, string $bytes): void
    {
        $tmp = $file . '.tmp' . getmypid();
        if (file_put_contents($tmp, $bytes) !== strlen($bytes) || !rename($tmp, $file)) {
            @unlink($tmp);
            throw new \RuntimeException("cannot write $file");
        }
    }

    private static function makeDir(string $dir): void
    {
        if (!is_dir($dir) && !mkdir($dir, 0777, true) && !is_dir($dir)) {
            throw new \RuntimeException("cannot create $dir");
        }
    }

    private static function read(string $file): string
    {
        $text = file_get_contents($file);
        if ($text === false) {
            throw new \RuntimeException("cannot read $file");
        }
        return $text;
    }
}
