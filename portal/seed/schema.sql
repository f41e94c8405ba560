-- Demo portal database. Created when missing; the catalogue tables are
-- reloaded from catalog.sql whenever that file changes, the accounts stay.
PRAGMA foreign_keys = ON;

CREATE TABLE IF NOT EXISTS meta (
  key   TEXT PRIMARY KEY,
  value TEXT NOT NULL
);

CREATE TABLE IF NOT EXISTS categories (
  id    INTEGER PRIMARY KEY,
  name  TEXT NOT NULL,
  intro TEXT NOT NULL,
  color TEXT NOT NULL,
  sort  INTEGER NOT NULL
);

CREATE TABLE IF NOT EXISTS games (
  id         INTEGER PRIMARY KEY,
  catid      INTEGER NOT NULL REFERENCES categories(id),
  name       TEXT NOT NULL,
  swf        TEXT NOT NULL UNIQUE,   -- file name under games/
  intro      TEXT NOT NULL,          -- plain text
  help       TEXT NOT NULL,          -- HTML
  width      INTEGER NOT NULL,
  height     INTEGER NOT NULL,
  fps        INTEGER NOT NULL,
  frames     INTEGER NOT NULL,
  style      TEXT NOT NULL,
  color1     TEXT NOT NULL,
  color2     TEXT NOT NULL,
  bg         TEXT NOT NULL,
  compressed INTEGER NOT NULL,
  plays      INTEGER NOT NULL,
  featured   INTEGER NOT NULL,
  added      TEXT NOT NULL
);
CREATE INDEX IF NOT EXISTS games_catid ON games(catid);

CREATE TABLE IF NOT EXISTS users (
  id        INTEGER PRIMARY KEY,
  name      TEXT NOT NULL UNIQUE COLLATE NOCASE,
  pass_hash TEXT NOT NULL,
  created   INTEGER NOT NULL
);

CREATE TABLE IF NOT EXISTS sessions (
  id      TEXT PRIMARY KEY,
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  expires INTEGER NOT NULL
);

CREATE TABLE IF NOT EXISTS favourites (
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  game_id INTEGER NOT NULL,
  added   INTEGER NOT NULL,
  PRIMARY KEY (user_id, game_id)
);
