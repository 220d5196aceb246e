/* The demo's catalogue database: the right pane, the catalogue being edited. */
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТМ-100/10', 10, 100, NULL, 0.33, 1.97, 10, 0.4, 4.5, 2.6, 2, 2.5);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТМ-400/10', 10, 400, NULL, 0.95, 5.5, 10, 0.4, 4.5, 2.1, 2, 2.5);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТДН-16000/110', 110, 16000, 'с РПН', 18, 85, 115, 11, 10.5, 0.7, 9, 1.78);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","Pxx","Pkz","UnomB","UnomH","Uk","Ixx")
  VALUES ('ТМН-6300/35', 35, 6300, 7.6, 46.5, 36.75, 11, 7.5, 0.8);
