<?php

declare(strict_types=1);

namespace Zorvia\Portal;

/**
 * Files served by name from one folder. Only plain names are accepted, so no
 * request reaches outside the folder.
 */
final class Files
{
    private const TYPES = [
        'swf' => 'application/x-shockwave-flash',
        'js' => 'text/javascript; charset=utf-8',
        'wasm' => 'application/wasm',
        'css' => 'text/css; charset=utf-8',
        'svg' => 'image/svg+xml',
        'png' => 'image/png',
        'map' => 'application/json',
        'txt' => 'text/plain; charset=utf-8',
    ];

    public function __construct(private readonly string $dir, private readonly int $maxAge)
    {
    }

    public function get(string $name): ?Response
    {
        if (!self::isPlainName($name)) {
            return null;
        }
        $ext = strtolower(pathinfo($name, PATHINFO_EXTENSION));
        $path = $this->dir . '/' . $name;
        if (!isset(self::TYPES[$ext]) || !is_file($path)) {
            return null;
        }
        return Response::file($path, self::TYPES[$ext], $this->maxAge);
    }

    public static function isPlainName(string $name): bool
    {
        return (bool) preg_match('/^[A-Za-z0-9][A-Za-z0-9_.-]{0,127}$/D', $name) && !str_contains($name, '..');
    }
}
