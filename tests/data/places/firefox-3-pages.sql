-- Firefox 3.0's keyword, named from a bookmark, and its trigger that keeps visit_count.
CREATE TRIGGER moz_historyvisits_afterdelete_v1_trigger AFTER DELETE ON moz_historyvisits
  FOR EACH ROW WHEN OLD.visit_type NOT IN (0,4,7) BEGIN UPDATE moz_places
  SET visit_count = visit_count - 1 WHERE moz_places.id = OLD.place_id AND visit_count > 0; END;
INSERT INTO moz_keywords (id, keyword) VALUES (1, 'kw');
INSERT INTO moz_bookmarks (id, type, fk, parent, title, keyword_id) VALUES (3, 1, 5, 1, 'Kw', 1);
