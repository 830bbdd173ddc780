-- A large history for the benchmarks, added to Firefox 45's: 5,000 bookmarked pages and more
-- pages visited twice each, as many as the number that replaces the upper-case word below.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000 + PAGES)
  INSERT INTO moz_places (id, url, rev_host, visit_count, foreign_count)
  SELECT 100 + i, 'http://site' || (i % 500) || '.example/page' || i,
         'elpmaxe.' || (i % 500) || 'etis.', 2, i <= 5000 FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000)
  INSERT INTO moz_bookmarks (type, fk, parent, position) SELECT 1, 100 + i, 1, i FROM n;
INSERT INTO moz_historyvisits (place_id, visit_date, visit_type)
  SELECT id, id, 1 FROM moz_places WHERE id > 5100
  UNION ALL SELECT id, id + 1, 2 FROM moz_places WHERE id > 5100;
