-- History of Chrome 49: three pages, their visits, a typed search, a segment, and one
-- download with the chain of addresses it came through.
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
CREATE TABLE urls(id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR,
  visit_count INTEGER DEFAULT 0 NOT NULL, typed_count INTEGER DEFAULT 0 NOT NULL,
  last_visit_time INTEGER NOT NULL, hidden INTEGER DEFAULT 0 NOT NULL, favicon_id INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE visits(id INTEGER PRIMARY KEY, url INTEGER NOT NULL, visit_time INTEGER NOT NULL,
  from_visit INTEGER, transition INTEGER DEFAULT 0 NOT NULL, segment_id INTEGER,
  visit_duration INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE visit_source(id INTEGER PRIMARY KEY, source INTEGER NOT NULL);
CREATE TABLE keyword_search_terms (keyword_id INTEGER NOT NULL, url_id INTEGER NOT NULL,
  lower_term LONGVARCHAR NOT NULL, term LONGVARCHAR NOT NULL);
CREATE TABLE segments (id INTEGER PRIMARY KEY, name VARCHAR, url_id INTEGER NON NULL);
CREATE TABLE segment_usage (id INTEGER PRIMARY KEY, segment_id INTEGER NOT NULL,
  time_slot INTEGER NOT NULL, visit_count INTEGER DEFAULT 0 NOT NULL);
CREATE TABLE downloads (id INTEGER PRIMARY KEY, guid VARCHAR NOT NULL, current_path LONGVARCHAR NOT NULL,
  target_path LONGVARCHAR NOT NULL, start_time INTEGER NOT NULL, received_bytes INTEGER NOT NULL,
  total_bytes INTEGER NOT NULL, state INTEGER NOT NULL, danger_type INTEGER NOT NULL,
  interrupt_reason INTEGER NOT NULL, end_time INTEGER NOT NULL, opened INTEGER NOT NULL,
  referrer VARCHAR NOT NULL, by_ext_id VARCHAR NOT NULL, by_ext_name VARCHAR NOT NULL,
  etag VARCHAR NOT NULL, last_modified VARCHAR NOT NULL, mime_type VARCHAR(255) NOT NULL,
  original_mime_type VARCHAR(255) NOT NULL);
CREATE TABLE downloads_url_chains (id INTEGER NOT NULL, chain_index INTEGER NOT NULL,
  url LONGVARCHAR NOT NULL, PRIMARY KEY (id, chain_index));
CREATE INDEX visits_url_index ON visits (url);
CREATE INDEX urls_url_index ON urls (url);
INSERT INTO meta VALUES ('version', '30'), ('last_compatible_version', '16');
INSERT INTO urls VALUES (1, 'http://news.test/', 'News', 2, 1, 300, 0, 0),
  (2, 'http://mail.example/', 'Mail', 1, 0, 200, 0, 0),
  (3, 'http://search.test/?q=olvex', 'olvex', 1, 0, 100, 0, 0);
INSERT INTO visits VALUES (1, 1, 100, 0, 1, 1, 0), (2, 1, 300, 0, 0, 1, 0),
  (3, 2, 200, 1, 0, 0, 0), (4, 3, 100, 0, 1, 0, 0);
INSERT INTO visit_source VALUES (4, 1);
INSERT INTO keyword_search_terms VALUES (2, 3, 'olvex', 'olvex');
INSERT INTO segments VALUES (1, 'http://news.test/', 1);
INSERT INTO segment_usage VALUES (1, 1, 86400, 2);
INSERT INTO downloads VALUES (1, 'A1', 'C:\f.zip', 'C:\f.zip', 400, 10, 10, 1, 0, 0, 401, 0,
  '', '', '', '', '', 'application/zip', 'application/zip');
INSERT INTO downloads_url_chains VALUES (1, 0, 'http://dl.test/f'), (1, 1, 'http://cdn.test/f.zip');
