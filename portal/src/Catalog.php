<?php

declare(strict_types=1);

namespace Zorvia\Portal;

use PDO;

/** Read access to categories and games. */
final class Catalog
{
    private const GAME_COLUMNS = 'g.*, c.name AS catname, c.color AS catcolor';

    public function __construct(private readonly PDO $db)
    {
    }

    /** @return list<array<string,mixed>> with a game count each */
    public function categories(): array
    {
        return $this->db->query(
            'SELECT c.*, (SELECT COUNT(*) FROM games g WHERE g.catid = c.id) AS games FROM categories c ORDER BY c.sort, c.id'
        )->fetchAll();
    }

    /** @return array<string,mixed>|null */
    public function category(int $id): ?array
    {
        $q = $this->db->prepare('SELECT * FROM categories WHERE id = ?');
        $q->execute([$id]);
        return $q->fetch() ?: null;
    }

    /** @return array<string,mixed>|null */
    public function game(int $id): ?array
    {
        return $this->games('WHERE g.id = ?', [$id])[0] ?? null;
    }

    /** @return list<array<string,mixed>> */
    public function gamesIn(int $catid): array
    {
        return $this->games('WHERE g.catid = ? ORDER BY g.plays DESC, g.id', [$catid]);
    }

    /** @return list<array<string,mixed>> */
    public function featured(int $limit): array
    {
        return $this->games('WHERE g.featured = 1 ORDER BY g.plays DESC, g.id LIMIT ?', [$limit]);
    }

    /** @return list<array<string,mixed>> */
    public function newest(int $limit): array
    {
        return $this->games('ORDER BY g.added DESC, g.id DESC LIMIT ?', [$limit]);
    }

    /** @return list<array<string,mixed>> */
    public function popular(int $limit, int $exceptId = 0): array
    {
        return $this->games('WHERE g.id <> ? ORDER BY g.plays DESC, g.id LIMIT ?', [$exceptId, $limit]);
    }

    /** @return list<array<string,mixed>> other games of the same category */
    public function related(array $game, int $limit): array
    {
        return $this->games(
            'WHERE g.catid = ? AND g.id <> ? ORDER BY g.plays DESC, g.id LIMIT ?',
            [$game['catid'], $game['id'], $limit]
        );
    }

    /**
     * Games whose name, category or introduction contains the keyword as
     * typed (letter case ignored for Latin letters; %, _ and \ match
     * themselves).
     *
     * @return list<array<string,mixed>>
     */
    public function search(string $keyword): array
    {
        $like = '%' . strtr($keyword, ['\\' => '\\\\', '%' => '\\%', '_' => '\\_']) . '%';
        return $this->games(
            "WHERE g.name LIKE :k ESCAPE '\\' OR c.name LIKE :k ESCAPE '\\' OR g.intro LIKE :k ESCAPE '\\'"
            . ' ORDER BY (g.name LIKE :k ESCAPE \'\\\') DESC, g.plays DESC, g.id',
            ['k' => $like]
        );
    }

    public function countPlay(int $id): void
    {
        $this->db->prepare('UPDATE games SET plays = plays + 1 WHERE id = ?')->execute([$id]);
    }

    /** @return list<array<string,mixed>> */
    private function games(string $tail, array $params): array
    {
        $q = $this->db->prepare('SELECT ' . self::GAME_COLUMNS . ' FROM games g JOIN categories c ON c.id = g.catid ' . $tail);
        foreach ($params as $key => $value) {
            $q->bindValue(is_int($key) ? $key + 1 : $key, $value, is_int($value) ? PDO::PARAM_INT : PDO::PARAM_STR);
        }
        $q->execute();
        return $q->fetchAll();
    }
}
