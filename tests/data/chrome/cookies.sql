-- Cookies of Chrome 49: the cookies of five hosts, two of them domain cookies (a leading dot).
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE cookies (creation_utc INTEGER NOT NULL UNIQUE PRIMARY KEY, host_key TEXT NOT NULL,
  name TEXT NOT NULL, value TEXT NOT NULL, path TEXT NOT NULL, expires_utc INTEGER NOT NULL,
  secure INTEGER NOT NULL, httponly INTEGER NOT NULL, last_access_utc INTEGER NOT NULL,
  has_expires INTEGER NOT NULL DEFAULT 1, persistent INTEGER NOT NULL DEFAULT 1,
  priority INTEGER NOT NULL DEFAULT 1, encrypted_value BLOB DEFAULT '',
  firstpartyonly INTEGER NOT NULL DEFAULT 0);
CREATE INDEX domain ON cookies(host_key);
INSERT INTO meta VALUES ('version', '9'), ('last_compatible_version', '9');
INSERT INTO cookies (creation_utc, host_key, name, value, path, expires_utc, secure, httponly,
                     last_access_utc) VALUES
  (1, '.mail.example', 'SID', 's1', '/', 0, 1, 1, 1),
  (2, 'www.mail.example', 'pref', 'p', '/', 0, 0, 0, 2),
  (3, '.badmail.example', 'track', 't', '/', 0, 0, 0, 3),
  (4, 'mail.example.evil.test', 'track', 't', '/', 0, 0, 0, 4),
  (5, 'news.test', 'seen', '1', '/', 0, 0, 0, 5);
