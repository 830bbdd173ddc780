-- Login Data of Chrome 49: two saved passwords.
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE logins (origin_url VARCHAR NOT NULL, action_url VARCHAR, username_element VARCHAR,
  username_value VARCHAR, password_element VARCHAR, password_value BLOB, submit_element VARCHAR,
  signon_realm VARCHAR NOT NULL, ssl_valid INTEGER NOT NULL, preferred INTEGER NOT NULL,
  date_created INTEGER NOT NULL, blacklisted_by_user INTEGER NOT NULL, scheme INTEGER NOT NULL,
  UNIQUE (origin_url, username_element, username_value, password_element, submit_element, signon_realm));
INSERT INTO meta VALUES ('version', '16');
INSERT INTO logins VALUES ('http://mail.example/', '', 'u', 'jo', 'p', x'01', '', 'http://mail.example/', 0, 1, 1, 0, 0),
  ('http://news.test/', '', 'u', 'jo', 'p', x'02', '', 'http://news.test/', 0, 1, 2, 0, 0);
