<?php

declare(strict_types=1);

// Class loading for the portal: Zorvia\Portal\A\B lives in src/A/B.php.
spl_autoload_register(static function (string $class): void {
    $prefix = 'Zorvia\\Portal\\';
    if (str_starts_with($class, $prefix)) {
        $file = __DIR__ . '/' . str_replace('\\', '/', substr($class, strlen($prefix))) . '.php';
        if (is_file($file)) {
            require $file;
        }
    }
});
