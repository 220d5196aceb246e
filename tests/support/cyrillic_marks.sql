/* Marks and comments in Russian, for the test that reads them back from a
   database made without a UTF-8 locale. */
INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (10, 'провод', 0);
INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr") VALUES (1, 'АСКП-95/16', 95, 'для побережья, Ёё');
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr") VALUES ('ТМН-6300/35-У1', 35, 6300, 'с РПН ±9 ступеней по 1,78%; «ёлка»');
