-- cookies.sqlite of Firefox 45: the cookies of the same five hosts as Chrome's Cookies.
CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, baseDomain TEXT,
  originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value TEXT, host TEXT, path TEXT,
  expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER,
  isHttpOnly INTEGER, appId INTEGER DEFAULT 0, inBrowserElement INTEGER DEFAULT 0,
  CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));
CREATE INDEX moz_basedomain ON moz_cookies (baseDomain, originAttributes);
INSERT INTO moz_cookies (id, baseDomain, name, value, host, path, expiry, lastAccessed,
                         creationTime, isSecure, isHttpOnly) VALUES
  (1, 'mail.example', 'SID', 's1', '.mail.example', '/', 0, 1, 1, 1, 1),
  (2, 'mail.example', 'pref', 'p', 'www.mail.example', '/', 0, 2, 2, 0, 0),
  (3, 'badmail.example', 'track', 't', '.badmail.example', '/', 0, 3, 3, 0, 0),
  (4, 'evil.test', 'track', 't', 'mail.example.evil.test', '/', 0, 4, 4, 0, 0),
  (5, 'news.test', 'seen', '1', 'news.test', '/', 0, 5, 5, 0, 0);
