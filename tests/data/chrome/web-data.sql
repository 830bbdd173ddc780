-- Web Data of Chrome 49: two form entries, and the search engines, which stay.
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE keywords (id INTEGER PRIMARY KEY, short_name VARCHAR NOT NULL, keyword VARCHAR NOT NULL,
  favicon_url VARCHAR NOT NULL, url VARCHAR NOT NULL, safe_for_autoreplace INTEGER,
  originating_url VARCHAR, date_created INTEGER DEFAULT 0, usage_count INTEGER DEFAULT 0,
  input_encodings VARCHAR, suggest_url VARCHAR, prepopulate_id INTEGER DEFAULT 0);
CREATE TABLE autofill (name VARCHAR, value VARCHAR, value_lower VARCHAR, date_created INTEGER DEFAULT 0,
  date_last_used INTEGER DEFAULT 0, count INTEGER DEFAULT 1, PRIMARY KEY (name, value));
CREATE INDEX autofill_name ON autofill (name);
INSERT INTO meta VALUES ('version', '65');
INSERT INTO keywords (id, short_name, keyword, favicon_url, url) VALUES
  (2, 'Search', 'search.test', '', 'http://search.test/?q={searchTerms}');
INSERT INTO autofill (name, value, value_lower) VALUES ('email', 'jo@mail.example', 'jo@mail.example'),
  ('city', 'Oslo', 'oslo');
