/* The demo's exchange file (left pane), written from this data: some
   elements equal to the database's, some equal but for their comment, some new. */
INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (110, 'ac', 0);
INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (35, 'ac', 0);
INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr",R0,X0,B0,"Idop") VALUES (1, 'АС-120/19', 120, NULL, 0.249, 0.427, 2.66, 390);
INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr",R0,X0,B0,"Idop") VALUES (1, 'АС-185/29', 185, 'новый завод', 0.162, 0.413, 2.75, 510);
INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr",R0,X0,B0,"Idop") VALUES (2, 'АС-95/16', 95, NULL, 0.306, 0.421, 2.65, 330);

INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТМ-100/10', 10, 100, NULL, 0.33, 1.97, 10, 0.4, 4.5, 2.6, 2, 2.5);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТДН-16000/110', 110, 16000, 'завод А', 18, 85, 115, 11, 10.5, 0.7, 9, 1.78);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr","Pxx","Pkz","UnomB","UnomH","Uk","Ixx")
  VALUES ('ТМ-630/10', 10, 630, NULL, 1.31, 7.6, 10, 0.4, 5.5, 2);
INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","Pxx","Pkz","UnomB","UnomH","Uk","Ixx","NumberOtp","DeltaUotp")
  VALUES ('ТРДН-25000/110', 110, 25000, 25, 120, 115, 10.5, 10.5, 0.65, 9, 1.78);
INSERT INTO "Transforms3" ("TypeTR","Unom","Snom","UnomB","UnomC","UnomH","Pxx","Ixx","PkzBC","PkzBH","PkzCH","UkBC","UkBH","UkCH","SobmB","SobmC","SobmH","NumberOtpB","DeltaUotpB")
  VALUES ('ТДТН-25000/110', 110, 25000, 115, 38.5, 11, 28.5, 0.7, 140, 140, 140, 10.5, 17.5, 6.5, 100, 100, 100, 9, 1.78);
INSERT INTO "Transforms3" ("TypeTR","Unom","Snom","UnomB","UnomC","UnomH","Pxx","Ixx","PkzBC","PkzBH","PkzCH","UkBC","UkBH","UkCH")
  VALUES ('ТМТН-6300/35', 35, 6300, 35, 11, 6.6, 10, 1, 54, 54, 54, 7.5, 17.5, 6.5);
INSERT INTO "TransformsSS" ("TypeTR","Unom","Snom","UkBH","UkHH","Pxx","Pkz","Ixx","UnomB","UnomH1","UnomH2","NumberOtp","DeltaUotp")
  VALUES ('ТРДН-63000/110', 110, 63000, 10.5, 30, 50, 245, 0.5, 115, 10.5, 10.5, 9, 1.78);
INSERT INTO "TransformsA" ("TypeTR","Unom","Snom","UnomB","UnomC","UnomH","Pxx","Ixx","PkzBC","PkzBH","PkzCH","UkBC","UkBH","UkCH","SobmB","SobmC","SobmH")
  VALUES ('АТДЦТН-125000/220/110', 220, 125000, 230, 121, 11, 65, 0.5, 315, 280, 275, 11, 45, 28, 100, 100, 50);

INSERT INTO "Busbars" ("Marka","Unom","R","X") VALUES ('ШМА-1600', 0.4, 0.03, 0.014);
INSERT INTO "Busbars" ("Marka","Unom","R","X") VALUES ('ШМА-2500', 0.4, 0.02, 0.01);
INSERT INTO "ShuntReactorsRef" ("Marka","Unom","Snom","Inom","dP") VALUES ('РОМ-110000/500', 500, 110, 381, 330);
INSERT INTO "SynchronousCondensers" ("Marka","Unom","Snom","dP") VALUES ('КСВБ-100-11', 11, 100, 1000);
INSERT INTO "CapacitorBanks" ("Marka","Unom","Snom","dP") VALUES ('КРМ-0,4-100', 0.4, 0.1, 0.004);
INSERT INTO "TiristorCondensers" ("Marka","Unom","Snom","dP") VALUES ('СТК-100', 10, 100, 0.005);
INSERT INTO "SynchronousMotors" ("Marka","Unom","Pnom","Performance","CosFi","n") VALUES ('СДН-2-17', 10, 1600, 0.96, 0.9, 750);
INSERT INTO "AsynchronousMotors" ("Marka","Unom","Pnom","Performance","CosFi","n","Slip") VALUES ('АИР180М4', 0.38, 30, 0.92, 0.89, 1470, 2);
INSERT INTO "ValveArresters" ("Marka","Unom","dP") VALUES ('РВС-35', 35, 0);
INSERT INTO "ExcessVoltageSuppressors" ("Marka","Unom","dP") VALUES ('ОПН-П-220', 220, 0);
INSERT INTO "CurrentLimitReactorsRef" ("Marka","Unom","Snom","Inom","dP","isDouble") VALUES ('РБ-10-630-0,4', 10, '630', 630, 3.2, 0);

INSERT INTO "SwitchGN" ("Ident","Name") VALUES (1, 'выключатель');
INSERT INTO "SwitchGN" ("Ident","Name") VALUES (2, 'отделитель');
INSERT INTO "SwitchGR" ("Marka","Unom","SwitchGType","Inom","Ioff","Id","It","Toff","Ton") VALUES ('ВГТ-110-40/2500', 110, 1, 2.5, 40, 102, 40, 0.055, 0.065);
INSERT INTO "SwitchGR" ("Marka","Unom","SwitchGType","AddStr") VALUES ('ОД-110/1000', 110, 2, 'с приводом ШПО');

INSERT INTO "MetersRef" ("Indication","Unom","Power","Reverse","AccuracyClass","TariffCount","Manufacturer","WorkTemperatureLow","WorkTemperatureHigh")
  VALUES ('СЭТ-4ТМ.03М', '0.4', 3, 1, 1, 4, 'НЗиФ', -40, 60);
INSERT INTO "MetersRef" ("Indication","Unom","Power","Reverse","AccuracyClass") VALUES ('ПСЧ-4ТМ.05', '6', 3, 1, 1);
INSERT INTO "TransformsIRef" ("Indication","Unom","AccuracyClass","I1nom","I2nom","RatedLoad","Manufacturer")
  VALUES ('ТОЛ-10', 10, 4, 300, 5, 10, 'СЗТТ');
INSERT INTO "TransformsIRef" ("Indication","Unom","AccuracyClass","I1nom","I2nom") VALUES ('ТПЛ-10', 10, 4, 200, 5);
INSERT INTO "TransformsVRef" ("Indication","Unom","AccuracyClass","UnomB","UnomH","VoltageDrop")
  VALUES ('ЗНОЛ-10', 10, 4, 10000, 57.735, 1.5);
