<?php

declare(strict_types=1);

namespace Zorvia\Portal;

/**
 * Renders the page templates of src/Pages. A template sees its variables and
 * the helpers of this class through $v.
 */
final class View
{
    /** @param array<string,mixed> $vars */
    public function render(string $template, array $vars): string
    {
        $v = $this;
        extract($vars, EXTR_SKIP);
        ob_start();
        try {
            require __DIR__ . '/Pages/' . $template . '.php';
        } catch (\Throwable $e) {
            ob_end_clean();
            throw $e;
        }
        return (string) ob_get_clean();
    }

    /** A full page: the template's output inside the site layout. */
    public function page(string $template, array $vars): string
    {
        $vars['content'] = $this->render($template, $vars);
        return $this->render('layout', $vars);
    }

    public function e(mixed $text): string
    {
        return htmlspecialchars((string) $text, ENT_QUOTES | ENT_SUBSTITUTE, 'UTF-8');
    }

    public function gameUrl(array $game): string
    {
        return '/mini.php?itemid=' . (int) $game['id'];
    }

    public function categoryUrl(array $cat): string
    {
        return '/mini.php?catid=' . (int) $cat['id'];
    }

    /** Play counts the way Chinese portals show them: 12.3万. */
    public function plays(int|string $n): string
    {
        $n = (int) $n;
        return $n >= 10000 ? rtrim(rtrim(number_format($n / 10000, 1, '.', ''), '0'), '.') . '万' : (string) $n;
    }

    public function thumb(array $game, int $w = 160, int $h = 100): string
    {
        return Thumb::svg($game, $w, $h);
    }
}
