-- The local game library: one row per downloaded game. Titles and file
-- names are declared as sized strings so they read back as text of the
-- program's code page; the help text is kept as written.
CREATE TABLE iflash (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  subject varchar(2048),
  filename varchar(2048),
  gamehelp text
);
