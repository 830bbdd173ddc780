-- Firefox 45's keyword, counts of use, last visits and hosts.
INSERT INTO moz_keywords (id, keyword, place_id) VALUES (1, 'kw', 5);
UPDATE moz_places SET foreign_count = 1 WHERE id IN (1, 7);
UPDATE moz_places SET last_visit_date = (SELECT max(visit_date) FROM moz_historyvisits v
  WHERE v.place_id = moz_places.id);
INSERT INTO moz_hosts (id, host, frecency) VALUES (1, 'kept.example', 100),
  (2, 'only.example', 50), (3, 'dl.example', 0), (4, 'both.example', 20),
  (5, 'stale.example', 1);
