<?php

declare(strict_types=1);

// Prepares the portal's run-time folder: database and game files.
// serve.sh runs this before starting the server.

require __DIR__ . '/src/bootstrap.php';

try {
    foreach (Zorvia\Portal\Setup::run() as $line) {
        fwrite(STDERR, "demo portal: $line\n");
    }
} catch (Throwable $e) {
    fwrite(STDERR, 'demo portal: set-up failed: ' . $e->getMessage() . "\n");
    exit(1);
}
