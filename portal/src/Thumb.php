<?php

declare(strict_types=1);

namespace Zorvia\Portal;

use Zorvia\Portal\Swf\GameArt;

/** A still picture of a game's motif in its colours, as inline SVG. */
final class Thumb
{
    public static function svg(array $game, int $w, int $h): string
    {
        $c1 = self::colour($game['color1']);
        $c2 = self::colour($game['color2']);
        $bg = self::colour($game['bg']);
        $shapes = match ($game['style']) {
            'bounce' => "<rect x='0' y='80' width='160' height='20' fill='$c2'/><ellipse cx='70' cy='80' rx='14' ry='4' fill='#0004'/>"
                . "<circle cx='70' cy='45' r='14' fill='$c1'/>",
            'spin' => "<rect x='45' y='15' width='70' height='70' fill='$c2' transform='rotate(20 80 50)'/>"
                . "<rect x='57' y='27' width='46' height='46' fill='$c1' opacity='.5' transform='rotate(-15 80 50)'/>"
                . "<polygon points='80,28 86,44 103,44 89,54 94,71 80,61 66,71 71,54 57,44 74,44' fill='$c1'/>",
            'orbit' => "<circle cx='80' cy='50' r='18' fill='$c1'/><ellipse cx='80' cy='50' rx='55' ry='26' fill='none' stroke='$c2' stroke-opacity='.35'/>"
                . "<circle cx='135' cy='50' r='6' fill='$c2'/><circle cx='35' cy='38' r='6' fill='$c2'/><circle cx='95' cy='76' r='6' fill='$c2'/>",
            'pulse' => "<circle cx='80' cy='50' r='40' fill='$c1'/><circle cx='80' cy='50' r='28' fill='$c2' opacity='.6'/><circle cx='80' cy='50' r='16' fill='$c2'/>",
            'bars' => self::bars($c1, $c2),
            'race' => "<rect x='0' y='32' width='160' height='2' fill='$c2' opacity='.6'/><rect x='0' y='66' width='160' height='2' fill='$c2' opacity='.6'/>"
                . "<rect x='20' y='10' width='30' height='15' fill='$c1'/><rect x='90' y='43' width='30' height='15' fill='$c2'/><rect x='55' y='76' width='30' height='15' fill='$c1' opacity='.7'/>",
            'grid' => self::grid($c1, $c2),
            'starfield' => "<circle cx='20' cy='20' r='1' fill='#fff'/><circle cx='130' cy='15' r='1.2' fill='#fff'/><circle cx='100' cy='80' r='1' fill='#fff'/>"
                . "<circle cx='40' cy='75' r='1.4' fill='#fff'/><circle cx='80' cy='50' r='22' fill='$c2' opacity='.45'/>"
                . "<polygon points='80,34 85,45 97,42 89,51 97,60 85,56 80,66 75,56 63,60 71,51 63,42 75,45' fill='$c1'/>",
            default => '',
        };
        return "<svg class='thumb' xmlns='http://www.w3.org/2000/svg' width='$w' height='$h' viewBox='0 0 160 100' preserveAspectRatio='xMidYMid slice' aria-hidden='true'>"
            . "<rect width='160' height='100' fill='$bg'/>$shapes</svg>";
    }

    private static function colour(string $hex): string
    {
        [$r, $g, $b] = GameArt::rgb($hex);
        return sprintf('#%02x%02x%02x', $r, $g, $b);
    }

    private static function bars(string $c1, string $c2): string
    {
        $out = '';
        foreach ([40, 70, 55, 85, 30, 65, 78, 45] as $i => $height) {
            $x = 6 + $i * 19;
            $fill = $i % 2 === 0 ? $c1 : $c2;
            $out .= "<rect x='$x' y='" . (95 - $height) . "' width='13' height='$height' fill='$fill'/>";
        }
        return $out;
    }

    private static function grid(string $c1, string $c2): string
    {
        $out = '';
        for ($r = 0; $r < 4; ++$r) {
            for ($c = 0; $c < 4; ++$c) {
                $fill = ($r === 1 && $c === 2) ? $c1 : $c2;
                $out .= "<rect x='" . (42 + $c * 19) . "' y='" . (12 + $r * 19) . "' width='17' height='17' rx='2' fill='$fill'/>";
            }
        }
        return $out;
    }
}
