/* The demo's catalogue database: the right pane, the catalogue being edited. */
INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (110, 'ac', 0);
INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (10, 'ac', 0);
INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (0.4, 'кабель', 2);
INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr",R0,X0,B0,"Idop") VALUES (1, 'АС-120/19', 120, NULL, 0.249, 0.427, 2.66, 390);
INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr",R0,X0,B0,"Idop") VALUES (1, 'АС-185/29', 185, NULL, 0.162, 0.413, 2.75, 510);
INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr",R0,X0,"Idop") VALUES (2, 'АС-70/11', 70, NULL, 0.428, 0.444, 265);
INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr",R0,X0,"Idop","TgDelta") VALUES (3, 'АВВГ 4х50', 50, NULL, 0.641, 0.0625, 130, 0.01);
INSERT INTO "Cables" VALUES (4, 4, 25, 1.28, 0.066, NULL, 90);
INSERT INTO "Unom" ("Unom") VALUES (110);
INSERT INTO "Unom" ("Unom") VALUES (10);

INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТМ-100/10', 10, 100, NULL, 0.33, 1.97, 10, 0.4, 4.5, 2.6, 2, 2.5);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТМ-400/10', 10, 400, NULL, 0.95, 5.5, 10, 0.4, 4.5, 2.1, 2, 2.5);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТДН-16000/110', 110, 16000, 'с РПН', 18, 85, 115, 11, 10.5, 0.7, 9, 1.78);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","Pxx","Pkz","UnomB","UnomH","Uk","Ixx")
  VALUES ('ТМН-6300/35', 35, 6300, 7.6, 46.5, 36.75, 11, 7.5, 0.8);
INSERT INTO "Transforms3" ("TypeTR","Unom","Snom","UnomB","UnomC","UnomH","Pxx","Ixx","PkzBC","PkzBH","PkzCH","UkBC","UkBH","UkCH","SobmB","SobmC","SobmH","NumberOtpB","DeltaUotpB")
  VALUES ('ТДТН-25000/110', 110, 25000, 115, 38.5, 11, 28.5, 0.7, 140, 140, 140, 10.5, 17.5, 6.5, 100, 100, 100, 9, 1.78);
INSERT INTO "TransformsSS" ("TypeTR","Unom","Snom","UkBH","UkHH","Pxx","Pkz","Ixx","UnomB","UnomH1","UnomH2","NumberOtp","DeltaUotp")
  VALUES ('ТРДН-40000/110', 110, 40000, 10.5, 30, 34, 172, 0.55, 115, 10.5, 10.5, 9, 1.78);
INSERT INTO "TransformsA" ("TypeTR","Unom","Snom","UnomB","UnomC","UnomH","Pxx","Ixx","PkzBC","PkzBH","PkzCH","UkBC","UkBH","UkCH","SobmB","SobmC","SobmH")
  VALUES ('АТДЦТН-125000/220/110', 220, 125000, 230, 121, 11, 65, 0.5, 315, 280, 275, 11, 45, 28, 100, 100, 50);

INSERT INTO "Busbars" ("Marka","Unom","R","X") VALUES ('ШМА-1600', 0.4, 0.03, 0.014);
INSERT INTO "ShuntReactorsRef" ("Marka","Unom","Snom","Inom","dP") VALUES ('РОДЦ-60000/500', 500, 60, 208, 220);
INSERT INTO "SynchronousCondensers" ("Marka","Unom","Snom","dP") VALUES ('КСВБ-50-11', 11, 50, 630);
INSERT INTO "CapacitorBanks" ("Marka","Unom","Snom","dP") VALUES ('КРМ-0,4-100', 0.4, 0.1, 0.004);
INSERT INTO "TiristorCondensers" ("Marka","Unom","Snom","dP") VALUES ('СТК-50', 10, 50, 0.005);
INSERT INTO "SynchronousMotors" ("Marka","Unom","Pnom","Performance","CosFi","n") VALUES ('СДН-2-16', 6, 1000, 0.95, 0.9, 1000);
INSERT INTO "AsynchronousMotors" ("Marka","Unom","Pnom","Performance","CosFi","n","Slip") VALUES ('АИР180М4', 0.38, 30, 0.92, 0.89, 1470, 2);
INSERT INTO "AsynchronousMotors" ("Marka","Unom","Pnom") VALUES ('4А250S4', 0.38, 75);
INSERT INTO "ValveArresters" ("Marka","Unom","dP") VALUES ('РВО-10', 10, 0);
INSERT INTO "ExcessVoltageSuppressors" ("Marka","Unom","dP") VALUES ('ОПН-П-110', 110, 0);
INSERT INTO "CurrentLimitReactorsRef" ("Marka","Unom","Snom","Inom","dP","isDouble") VALUES ('РБ-10-630-0,4', 10, '630', 630, 3.4, 0);
INSERT INTO "CurrentLimitReactorsRef" ("Marka","Unom","Snom","Inom","dP","isDouble") VALUES ('РБС-10-2х630-0,25', 10, '2х630', 630, 5.1, 1);

INSERT INTO "SwitchGN" ("Ident","Name") VALUES (1, 'выключатель');
INSERT INTO "SwitchGN" ("Ident","Name") VALUES (2, 'разъединитель');
INSERT INTO "SwitchGR" ("Marka","Unom","SwitchGType","Inom","Ioff","Id","It","Toff","Ton") VALUES ('ВГТ-110-40/2500', 110, 1, 2.5, 40, 102, 40, 0.055, 0.065);
INSERT INTO "SwitchGR" ("Marka","Unom","SwitchGType","Inom") VALUES ('РНДЗ-110/1000', 110, 2, 1);

INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (1, '0,5S', 1);
INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (2, '1,0', 1);
INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (3, '0,2', 2);
INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (4, '0,5', 2);
INSERT INTO "MetersRef" ("Indication","Unom","Power","Reverse","AccuracyClass","TariffCount","Manufacturer","WorkTemperatureLow","WorkTemperatureHigh")
  VALUES ('СЭТ-4ТМ.03М', '0.4', 3, 1, 1, 4, 'НЗиФ', -40, 60);
INSERT INTO "MetersRef" ("Indication","Unom","Power","Reverse","AccuracyClass") VALUES ('Меркурий 230', '10', 1, 0, 2);
INSERT INTO "TransformsIRef" ("Indication","Unom","AccuracyClass","I1nom","I2nom","RatedLoad","Manufacturer")
  VALUES ('ТОЛ-10', 10, 4, 300, 5, 10, 'СЗТТ');
INSERT INTO "TransformsVRef" ("Indication","Unom","AccuracyClass","UnomB","UnomH","VoltageDrop")
  VALUES ('НАМИ-10', 10, 4, 10000, 100, 1.5);

/* A small network using some of the types: three nodes with "ТМ-400/10", one
   each with "ТДН-16000/110" and "ТДТН-25000/110", lines of "АС-120/19" and
   "АС-70/11", a switch "ВГТ-110-40/2500", a double line of "АС-185/29". */
INSERT INTO "Nodes" ("Transf","OwnerGUID")
  SELECT "Ident", '{6F1B7C1E-0000-4000-8000-000000000001}' FROM "Transforms2" WHERE "TypeTR" = 'ТМ-400/10';
INSERT INTO "Nodes" ("Transf","OwnerGUID")
  SELECT "Ident", '{6F1B7C1E-0000-4000-8000-000000000001}' FROM "Transforms2" WHERE "TypeTR" = 'ТМ-400/10';
INSERT INTO "Nodes" ("Transf","OwnerGUID")
  SELECT "Ident", '{6F1B7C1E-0000-4000-8000-000000000002}' FROM "Transforms2" WHERE "TypeTR" = 'ТМ-400/10';
INSERT INTO "Nodes" ("Transf","OwnerGUID")
  SELECT "Ident", '{6F1B7C1E-0000-4000-8000-000000000001}' FROM "Transforms2" WHERE "TypeTR" = 'ТДН-16000/110';
INSERT INTO "Nodes" ("Transf","OwnerGUID")
  SELECT "Ident", '{6F1B7C1E-0000-4000-8000-000000000002}' FROM "Transforms3" WHERE "TypeTR" = 'ТДТН-25000/110';
INSERT INTO "Nodes" ("Transf","OwnerGUID") VALUES (NULL, '{6F1B7C1E-0000-4000-8000-000000000002}');
INSERT INTO "Lines" ("GUID","Provod","OwnerGUID")
  SELECT '{6F1B7C1E-0000-4000-8000-000000000101}', "Ident", '{6F1B7C1E-0000-4000-8000-000000000001}' FROM "Provods" WHERE "Marka" = 'АС-120/19';
INSERT INTO "Lines" ("GUID","Provod","OwnerGUID")
  SELECT '{6F1B7C1E-0000-4000-8000-000000000102}', "Ident", '{6F1B7C1E-0000-4000-8000-000000000001}' FROM "Provods" WHERE "Marka" = 'АС-120/19';
INSERT INTO "Lines" ("GUID","Provod","OwnerGUID")
  SELECT '{6F1B7C1E-0000-4000-8000-000000000103}', "Ident", '{6F1B7C1E-0000-4000-8000-000000000002}' FROM "Provods" WHERE "Marka" = 'АС-70/11';
INSERT INTO "Lines" ("GUID","Provod","OwnerGUID")
  SELECT '{6F1B7C1E-0000-4000-8000-000000000104}', "Ident", '{6F1B7C1E-0000-4000-8000-000000000001}' FROM "SwitchGR" WHERE "Marka" = 'ВГТ-110-40/2500';
INSERT INTO "DoubleLines" ("GUID","Provod")
  SELECT '{6F1B7C1E-0000-4000-8000-000000000201}', "Ident" FROM "Provods" WHERE "Marka" = 'АС-185/29';
