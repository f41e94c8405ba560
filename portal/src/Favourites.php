<?php

declare(strict_types=1);

namespace Zorvia\Portal;

use PDO;

/** A member's favourite games, keyed by game id. */
final class Favourites
{
    public const ADDED = 'OK';
    public const EXISTS = 'EXIST';
    public const NO_GAME = 'NOID';

    public function __construct(private readonly PDO $db)
    {
    }

    /** @return self::ADDED|self::EXISTS|self::NO_GAME */
    public function add(int $userId, int $gameId): string
    {
        $q = $this->db->prepare('SELECT 1 FROM games WHERE id = ?');
        $q->execute([$gameId]);
        if ($q->fetchColumn() === false) {
            return self::NO_GAME;
        }
        $q = $this->db->prepare('INSERT OR IGNORE INTO favourites (user_id, game_id, added) VALUES (?, ?, ?)');
        $q->execute([$userId, $gameId, $this->nextOrder($userId)]);
        return $q->rowCount() === 1 ? self::ADDED : self::EXISTS;
    }

    /** Removes the game from the favourites; false when it was not one. */
    public function remove(int $userId, int $gameId): bool
    {
        $q = $this->db->prepare('DELETE FROM favourites WHERE user_id = ? AND game_id = ?');
        $q->execute([$userId, $gameId]);
        return $q->rowCount() === 1;
    }

    /** @return list<array{id:int,name:string}> oldest first, as the game box appends new ones */
    public function list(int $userId): array
    {
        $q = $this->db->prepare(
            'SELECT g.id, g.name FROM favourites f JOIN games g ON g.id = f.game_id WHERE f.user_id = ? ORDER BY f.added, g.id'
        );
        $q->execute([$userId]);
        return array_map(fn ($r) => ['id' => (int) $r['id'], 'name' => $r['name']], $q->fetchAll());
    }

    public function count(int $userId): int
    {
        $q = $this->db->prepare('SELECT COUNT(*) FROM favourites WHERE user_id = ?');
        $q->execute([$userId]);
        return (int) $q->fetchColumn();
    }

    /** A strictly increasing order key, so favourites added in one second keep their order. */
    private function nextOrder(int $userId): int
    {
        $q = $this->db->prepare('SELECT COALESCE(MAX(added), 0) FROM favourites WHERE user_id = ?');
        $q->execute([$userId]);
        return max(time(), (int) $q->fetchColumn() + 1);
    }
}
