/* The demo's exchange file (left pane), written from this data: some
   elements equal to the database's, some equal but for their comment, some new. */
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТМ-100/10', 10, 100, NULL, 0.33, 1.97, 10, 0.4, 4.5, 2.6, 2, 2.5);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТДН-16000/110', 110, 16000, 'завод А', 18, 85, 115, 11, 10.5, 0.7, 9, 1.78);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx")
  VALUES ('ТМ-630/10', 10, 630, NULL, 1.31, 7.6, 10, 0.4, 5.5, 2);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТРДН-25000/110', 110, 25000, 25, 120, 115, 10.5, 10.5, 0.65, 9, 1.78);
