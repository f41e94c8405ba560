<?php

declare(strict_types=1);

namespace Zorvia\Portal;

use PDO;

/** Member accounts and their login sessions. */
final class Accounts
{
    public const SESSION_SECONDS = 30 * 24 * 3600;

    public function __construct(private readonly PDO $db)
    {
    }

    /** @return array{id:int,name:string}|null */
    public function findUser(string $name): ?array
    {
        $q = $this->db->prepare('SELECT id, name FROM users WHERE name = ?');
        $q->execute([$name]);
        $row = $q->fetch();
        return $row === false ? null : ['id' => (int) $row['id'], 'name' => $row['name']];
    }

    /** Why a new account cannot have this name and password, or null when it can. */
    public function registrationProblem(string $name, string $password): ?string
    {
        if (!preg_match('/^[\p{Han}A-Za-z0-9_]{2,16}$/u', $name)) {
            return '用户名须为 2-16 个汉字、字母、数字或下划线';
        }
        if (!preg_match('/^.{6,32}$/us', $password)) {
            return '密码长度须为 6-32 位';
        }
        if ($this->findUser($name) !== null) {
            return '该用户名已被注册';
        }
        return null;
    }

    /** Creates the account; the caller has checked registrationProblem(). */
    public function register(string $name, string $password): int
    {
        $q = $this->db->prepare('INSERT INTO users (name, pass_hash, created) VALUES (?, ?, ?)');
        $q->execute([$name, password_hash($password, PASSWORD_DEFAULT), time()]);
        return (int) $this->db->lastInsertId();
    }

    /** Checks the password and opens a session; returns its id, or null. */
    public function login(string $name, string $password): ?string
    {
        $q = $this->db->prepare('SELECT id, pass_hash FROM users WHERE name = ?');
        $q->execute([$name]);
        $row = $q->fetch();
        if ($row === false || !password_verify($password, $row['pass_hash'])) {
            return null;
        }
        return $this->openSession((int) $row['id']);
    }

    public function openSession(int $userId): string
    {
        $sid = bin2hex(random_bytes(16));
        $q = $this->db->prepare('INSERT INTO sessions (id, user_id, expires) VALUES (?, ?, ?)');
        $q->execute([$sid, $userId, time() + self::SESSION_SECONDS]);
        return $sid;
    }

    /** @return array{id:int,name:string}|null the user of a live session */
    public function userForSession(?string $sid): ?array
    {
        if ($sid === null || !self::isSessionId($sid)) {
            return null;
        }
        $q = $this->db->prepare(
            'SELECT u.id, u.name FROM sessions s JOIN users u ON u.id = s.user_id WHERE s.id = ? AND s.expires > ?'
        );
        $q->execute([$sid, time()]);
        $row = $q->fetch();
        return $row === false ? null : ['id' => (int) $row['id'], 'name' => $row['name']];
    }

    public function logout(?string $sid): void
    {
        if ($sid !== null && self::isSessionId($sid)) {
            $this->db->prepare('DELETE FROM sessions WHERE id = ?')->execute([$sid]);
        }
    }

    public function purgeExpiredSessions(): void
    {
        $this->db->prepare('DELETE FROM sessions WHERE expires <= ?')->execute([time()]);
    }

    public static function isSessionId(string $sid): bool
    {
        return (bool) preg_match('/^[0-9a-f]{32}$/D', $sid);
    }
}
