-- The tables every version has, and the pages: 1 bookmarked and visited, 2 visited only,
-- 3 downloaded only (a download visit and the annotations of 26 on), 4 visited and downloaded
-- (on www.both.example), 5 a keyword's (in 45's keywords table; bookmarked in 3.0's, which
-- names keywords from bookmarks), 6 a page with no visit left, 7 one that 45 counts as used
-- elsewhere (foreign_count), 8 visited only, on both.example.
CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER,
  visit_date INTEGER, visit_type INTEGER, session INTEGER);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL,
  parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT,
  dateAdded INTEGER, lastModified INTEGER);
CREATE TABLE moz_favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR UNIQUE, data BLOB,
  mime_type VARCHAR(32), expiration LONG);
CREATE TABLE moz_anno_attributes (id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL);
CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL,
  anno_attribute_id INTEGER, mime_type VARCHAR(32) DEFAULT NULL, content LONGVARCHAR,
  flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0,
  dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0);
CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL,
  use_count INTEGER, PRIMARY KEY (place_id, input));
CREATE INDEX moz_places_hostindex ON moz_places (rev_host);
CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
CREATE INDEX moz_places_faviconindex ON moz_places (favicon_id);
CREATE INDEX moz_historyvisits_fromindex ON moz_historyvisits (from_visit);
CREATE UNIQUE INDEX moz_annos_placeattributeindex ON moz_annos (place_id, anno_attribute_id);
INSERT INTO moz_favicons (id, url) VALUES (1, 'http://shared.example/i.ico'),
  (2, 'http://only.example/i.ico');
INSERT INTO moz_places (id, url, rev_host, visit_count, typed, favicon_id, frecency) VALUES
  (1, 'http://www.kept.example/', 'elpmaxe.tpek.www.', 2, 1, 1, 100),
  (2, 'http://only.example/a', 'elpmaxe.ylno.', 1, 1, 2, 50),
  (3, 'http://dl.example/file.zip', 'elpmaxe.ld.', 0, 0, NULL, 0),
  (4, 'http://www.both.example/setup.exe', 'elpmaxe.htob.www.', 1, 0, 1, 20),
  (5, 'http://kw.example/?q=%s', 'elpmaxe.wk.', 0, 0, NULL, 10),
  (6, 'http://orphan.example/', 'elpmaxe.nahpro.', 0, 0, NULL, 0),
  (7, 'http://counted.example/', 'elpmaxe.detnuoc.', 0, 0, NULL, 0),
  (8, 'http://both.example/other', 'elpmaxe.htob.', 1, 0, NULL, 5);
INSERT INTO moz_historyvisits (id, from_visit, place_id, visit_date, visit_type) VALUES
  (1, 0, 1, 100, 1), (2, 1, 1, 200, 2), (3, 2, 2, 300, 1), (4, 0, 3, 400, 7),
  (5, 0, 4, 500, 1), (6, 5, 4, 600, 7), (7, 0, 8, 700, 1);
INSERT INTO moz_bookmarks (id, type, fk, parent, title) VALUES (1, 2, NULL, 0, 'root'),
  (2, 1, 1, 1, 'Kept');
INSERT INTO moz_anno_attributes (id, name) VALUES (1, 'downloads/destinationFileURI'),
  (2, 'downloads/metaData'), (3, 'URIProperties/characterSet');
INSERT INTO moz_annos (id, place_id, anno_attribute_id, content) VALUES
  (1, 3, 1, 'file:///C:/file.zip'), (2, 3, 2, '{}'), (3, 4, 1, 'file:///C:/setup.exe'),
  (4, 2, 3, 'UTF-8'), (5, 1, 3, 'UTF-8');
INSERT INTO moz_inputhistory (place_id, input, use_count) VALUES (1, 'ke', 1), (2, 'on', 2);
