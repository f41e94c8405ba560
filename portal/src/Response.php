<?php

declare(strict_types=1);

namespace Zorvia\Portal;

/** One HTTP reply: status, headers and a body held in memory or in a file. */
final class Response
{
    /** @param list<string> $headers */
    private function __construct(
        public readonly int $status,
        public readonly array $headers,
        public readonly string $body = '',
        public readonly ?string $file = null,
    ) {
    }

    /** Plain text in UTF-8, never cached: the replies the game box reads. */
    public static function text(string $body, int $status = 200): self
    {
        return new self($status, ['Content-Type: text/plain; charset=utf-8', 'Cache-Control: no-store'], $body);
    }

    public static function html(string $body, int $status = 200): self
    {
        return new self($status, ['Content-Type: text/html; charset=utf-8', 'Cache-Control: no-store'], $body);
    }

    public static function redirect(string $location, int $status = 303): self
    {
        return new self($status, ['Location: ' . $location, 'Cache-Control: no-store']);
    }

    public static function file(string $path, string $type, int $maxAge): self
    {
        return new self(200, ['Content-Type: ' . $type, 'Cache-Control: public, max-age=' . $maxAge], '', $path);
    }

    public function withHeader(string $line): self
    {
        return new self($this->status, [...$this->headers, $line], $this->body, $this->file);
    }

    public function send(bool $headOnly): void
    {
        $length = $this->file !== null ? filesize($this->file) : strlen($this->body);
        http_response_code($this->status);
        foreach ($this->headers as $line) {
            header($line, false);
        }
        header('Content-Length: ' . $length);
        if ($headOnly) {
            return;
        }
        if ($this->file !== null) {
            readfile($this->file);
        } else {
            echo $this->body;
        }
    }
}
