/* Catalogue database schema (dialect 3, default character set WIN1251).
   The workbench never creates a schema: this script makes databases for the
   tests and the demo that behave as the product's catalogues do.
   scripts/make-catalogue-db creates the database and runs this script. */

SET SQL DIALECT 3;

CREATE GENERATOR "ReferenceIdent";
CREATE GENERATOR "ProvodTypesIdent";
CREATE GENERATOR "SwitchGNIdent";

/* Lines and cables */
CREATE TABLE "ProvodTypes" (
  "Ident"      INTEGER NOT NULL PRIMARY KEY,
  "Unom"       DOUBLE PRECISION,
  "Name"       VARCHAR(100),
  "CableFlags" SMALLINT
);
CREATE TABLE "Provods" (
  "Ident"      INTEGER NOT NULL PRIMARY KEY,
  "ProvodType" SMALLINT,
  "Marka"      VARCHAR(100),
  F            INTEGER,
  "AddStr"     VARCHAR(500),
  R0           DOUBLE PRECISION,
  X0           DOUBLE PRECISION,
  B0           DOUBLE PRECISION,
  "Idop"       SMALLINT,
  G0           DOUBLE PRECISION,
  "TgDelta"    DOUBLE PRECISION,
  "Hide"       SMALLINT
);
CREATE TABLE "Cables" (
  "Ident"          INTEGER NOT NULL PRIMARY KEY,
  "NumberPhases"   SMALLINT,
  "PhaseNull_F"    DOUBLE PRECISION,
  "PhaseNull_R0"   DOUBLE PRECISION,
  "PhaseNull_X0"   DOUBLE PRECISION,
  "PhaseNull_B0"   DOUBLE PRECISION,
  "PhaseNull_Idop" SMALLINT
);

/* Power transformers */
CREATE TABLE "Transforms2" (
  "Ident"     INTEGER NOT NULL PRIMARY KEY,
  "TypeTR"    VARCHAR(100),
  "Unom"      DOUBLE PRECISION,
  "AddStr"    VARCHAR(500),
  "Snom"      DOUBLE PRECISION,
  "UnomB"     DOUBLE PRECISION,
  "UnomH"     DOUBLE PRECISION,
  "Pkz"       DOUBLE PRECISION,
  "Pxx"       DOUBLE PRECISION,
  "Uk"        DOUBLE PRECISION,
  "Ixx"       DOUBLE PRECISION,
  "NumberOtp" INTEGER,
  "DeltaUotp" DOUBLE PRECISION
);
CREATE TABLE "Transforms3" (
  "Ident"      INTEGER NOT NULL PRIMARY KEY,
  "TypeTR"     VARCHAR(100),
  "Unom"       DOUBLE PRECISION,
  "AddStr"     VARCHAR(500),
  "Snom"       DOUBLE PRECISION,
  "UnomB"      DOUBLE PRECISION,
  "UnomC"      DOUBLE PRECISION,
  "UnomH"      DOUBLE PRECISION,
  "Pxx"        DOUBLE PRECISION,
  "Ixx"        DOUBLE PRECISION,
  "PkzBC"      DOUBLE PRECISION,
  "PkzBH"      DOUBLE PRECISION,
  "PkzCH"      DOUBLE PRECISION,
  "UkBC"       DOUBLE PRECISION,
  "UkBH"       DOUBLE PRECISION,
  "UkCH"       DOUBLE PRECISION,
  "SobmB"      DOUBLE PRECISION,
  "SobmC"      DOUBLE PRECISION,
  "SobmH"      DOUBLE PRECISION,
  "NumberOtpB" SMALLINT,
  "DeltaUotpB" DOUBLE PRECISION,
  "NumberOtpC" SMALLINT,
  "DeltaUotpC" DOUBLE PRECISION
);
CREATE TABLE "TransformsA" (
  "Ident"      INTEGER NOT NULL PRIMARY KEY,
  "TypeTR"     VARCHAR(100),
  "Unom"       DOUBLE PRECISION,
  "AddStr"     VARCHAR(500),
  "Snom"       DOUBLE PRECISION,
  "UnomB"      DOUBLE PRECISION,
  "UnomC"      DOUBLE PRECISION,
  "UnomH"      DOUBLE PRECISION,
  "Pxx"        DOUBLE PRECISION,
  "Ixx"        DOUBLE PRECISION,
  "PkzBC"      DOUBLE PRECISION,
  "PkzBH"      DOUBLE PRECISION,
  "PkzCH"      DOUBLE PRECISION,
  "UkBC"       DOUBLE PRECISION,
  "UkBH"       DOUBLE PRECISION,
  "UkCH"       DOUBLE PRECISION,
  "SobmB"      DOUBLE PRECISION,
  "SobmC"      DOUBLE PRECISION,
  "SobmH"      DOUBLE PRECISION,
  "NumberOtpB" SMALLINT,
  "DeltaUotpB" DOUBLE PRECISION,
  "NumberOtpC" SMALLINT,
  "DeltaUotpC" DOUBLE PRECISION
);
CREATE TABLE "TransformsSS" (
  "Ident"     INTEGER NOT NULL PRIMARY KEY,
  "TypeTR"    VARCHAR(100),
  "Unom"      DOUBLE PRECISION,
  "AddStr"    VARCHAR(500),
  "Snom"      DOUBLE PRECISION,
  "UkBH"      DOUBLE PRECISION,
  "UkHH"      DOUBLE PRECISION,
  "Pxx"       DOUBLE PRECISION,
  "Pkz"       DOUBLE PRECISION,
  "Ixx"       DOUBLE PRECISION,
  "UnomB"     DOUBLE PRECISION,
  "UnomH1"    DOUBLE PRECISION,
  "UnomH2"    DOUBLE PRECISION,
  "NumberOtp" SMALLINT,
  "DeltaUotp" DOUBLE PRECISION
);

/* Switching devices and their types */
CREATE TABLE "SwitchGN" (
  "Ident" INTEGER NOT NULL PRIMARY KEY,
  "Name"  VARCHAR(100)
);
CREATE TABLE "SwitchGR" (
  "Ident"       INTEGER NOT NULL PRIMARY KEY,
  "Marka"       VARCHAR(100),
  "Unom"        DOUBLE PRECISION,
  "SwitchGType" SMALLINT,
  "AddStr"      VARCHAR(500),
  "Inom"        DOUBLE PRECISION,
  "Ioff"        DOUBLE PRECISION,
  "Id"          DOUBLE PRECISION,
  "It"          DOUBLE PRECISION,
  "Toff"        DOUBLE PRECISION,
  "Ton"         DOUBLE PRECISION
);

/* Station equipment */
CREATE TABLE "Busbars" (
  "Ident" INTEGER NOT NULL PRIMARY KEY,
  "Marka" VARCHAR(100),
  "Unom"  DOUBLE PRECISION,
  "R"     DOUBLE PRECISION,
  "X"     DOUBLE PRECISION
);
CREATE TABLE "ShuntReactorsRef" (
  "Ident" INTEGER NOT NULL PRIMARY KEY,
  "Marka" VARCHAR(100),
  "Unom"  DOUBLE PRECISION,
  "Snom"  DOUBLE PRECISION,
  "Inom"  DOUBLE PRECISION,
  "dP"    DOUBLE PRECISION
);
CREATE TABLE "SynchronousCondensers" (
  "Ident" INTEGER NOT NULL PRIMARY KEY,
  "Marka" VARCHAR(100),
  "Unom"  DOUBLE PRECISION,
  "Snom"  DOUBLE PRECISION,
  "dP"    DOUBLE PRECISION
);
CREATE TABLE "CapacitorBanks" (
  "Ident" INTEGER NOT NULL PRIMARY KEY,
  "Marka" VARCHAR(100),
  "Unom"  DOUBLE PRECISION,
  "Snom"  DOUBLE PRECISION,
  "dP"    DOUBLE PRECISION
);
CREATE TABLE "TiristorCondensers" (
  "Ident" INTEGER NOT NULL PRIMARY KEY,
  "Marka" VARCHAR(100),
  "Unom"  DOUBLE PRECISION,
  "Snom"  DOUBLE PRECISION,
  "dP"    DOUBLE PRECISION
);
CREATE TABLE "SynchronousMotors" (
  "Ident"       INTEGER NOT NULL PRIMARY KEY,
  "Marka"       VARCHAR(100),
  "Unom"        DOUBLE PRECISION,
  "Pnom"        DOUBLE PRECISION,
  "Performance" DOUBLE PRECISION,
  "CosFi"       DOUBLE PRECISION,
  "n"           SMALLINT
);
CREATE TABLE "AsynchronousMotors" (
  "Ident"       INTEGER NOT NULL PRIMARY KEY,
  "Marka"       VARCHAR(100),
  "Unom"        DOUBLE PRECISION,
  "Pnom"        DOUBLE PRECISION,
  "Performance" DOUBLE PRECISION,
  "CosFi"       DOUBLE PRECISION,
  "n"           SMALLINT,
  "Slip"        DOUBLE PRECISION
);
CREATE TABLE "ValveArresters" (
  "Ident" INTEGER NOT NULL PRIMARY KEY,
  "Marka" VARCHAR(100),
  "Unom"  DOUBLE PRECISION,
  "dP"    DOUBLE PRECISION
);
CREATE TABLE "ExcessVoltageSuppressors" (
  "Ident" INTEGER NOT NULL PRIMARY KEY,
  "Marka" VARCHAR(100),
  "Unom"  DOUBLE PRECISION,
  "dP"    DOUBLE PRECISION
);
CREATE TABLE "CurrentLimitReactorsRef" (
  "Ident"    INTEGER NOT NULL PRIMARY KEY,
  "Marka"    VARCHAR(100),
  "Unom"     DOUBLE PRECISION,
  "Snom"     VARCHAR(50),
  "Inom"     DOUBLE PRECISION,
  "dP"       DOUBLE PRECISION,
  "isDouble" SMALLINT
);

/* Instrument transformers and meters */
CREATE TABLE "MeterACs" (
  "Ident"     INTEGER NOT NULL PRIMARY KEY,
  "Name"      VARCHAR(50),
  "MeterType" SMALLINT
);
CREATE TABLE "TransformsIRef" (
  "Ident"               INTEGER NOT NULL PRIMARY KEY,
  "Indication"          VARCHAR(100),
  "Unom"                DOUBLE PRECISION,
  "AccuracyClass"       SMALLINT,
  "I1nom"               SMALLINT,
  "I2nom"               SMALLINT,
  "RatedLoad"           DOUBLE PRECISION,
  "Manufacturer"        VARCHAR(200),
  "PrefailureLife"      INTEGER,
  "WorkTemperatureLow"  SMALLINT,
  "WorkTemperatureHigh" SMALLINT
);
/* "UnomB" keeps whole numbers; "UnomH" may hold a fraction (100/3 V). */
CREATE TABLE "TransformsVRef" (
  "Ident"               INTEGER NOT NULL PRIMARY KEY,
  "Indication"          VARCHAR(100),
  "Unom"                DOUBLE PRECISION,
  "AccuracyClass"       SMALLINT,
  "UnomB"               SMALLINT,
  "UnomH"               DOUBLE PRECISION,
  "VoltageDrop"         DOUBLE PRECISION,
  "Manufacturer"        VARCHAR(200),
  "PrefailureLife"      INTEGER,
  "WorkTemperatureLow"  SMALLINT,
  "WorkTemperatureHigh" SMALLINT
);
CREATE TABLE "MetersRef" (
  "Ident"               INTEGER NOT NULL PRIMARY KEY,
  "Indication"          VARCHAR(100),
  "Unom"                VARCHAR(20),
  "Power"               SMALLINT,
  "Reverse"             SMALLINT,
  "AccuracyClass"       SMALLINT,
  "RevoCount"           SMALLINT,
  "NumberCount"         SMALLINT,
  "CalibrationInterval" SMALLINT,
  "ServiceLife"         SMALLINT,
  "Manufacturer"        VARCHAR(200),
  "Inom"                SMALLINT,
  "TariffCount"         SMALLINT,
  "WorkTemperatureLow"  SMALLINT,
  "WorkTemperatureHigh" SMALLINT,
  "Sensitivity"         DOUBLE PRECISION,
  "Capacity"            DOUBLE PRECISION,
  "Pu"                  DOUBLE PRECISION,
  "Si"                  DOUBLE PRECISION,
  "PrefailureLife"      INTEGER
);

/* Voltage registry */
CREATE TABLE "Unom" (
  "Unom" DOUBLE PRECISION
);

/* Network tables, read by the owner filter only */
CREATE TABLE "Nodes" (
  "Transf"    INTEGER,
  "OwnerGUID" VARCHAR(38)
);
CREATE TABLE "Lines" (
  "GUID"      VARCHAR(38),
  "Provod"    INTEGER,
  "OwnerGUID" VARCHAR(38)
);
CREATE TABLE "DoubleLines" (
  "GUID"   VARCHAR(38),
  "Provod" INTEGER
);

/* A type is one row however many writers need it at once: the second
   writer's insert meets the key and takes the first one's row. */
ALTER TABLE "ProvodTypes" ADD CONSTRAINT "ProvodTypes_Type" UNIQUE ("Unom", "Name", "CableFlags");
ALTER TABLE "SwitchGN" ADD CONSTRAINT "SwitchGN_Name" UNIQUE ("Name");

/* Every insert takes its "Ident" from the generator, stepping it by one, so
   the value a writer predicts (current value + 1) is the one the row gets
   when nobody else inserts in between. */
SET TERM ^ ;
CREATE TRIGGER "ProvodTypes_BI" FOR "ProvodTypes" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ProvodTypesIdent", 1); END^
CREATE TRIGGER "SwitchGN_BI" FOR "SwitchGN" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("SwitchGNIdent", 1); END^
CREATE TRIGGER "Provods_BI" FOR "Provods" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "Transforms2_BI" FOR "Transforms2" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "Transforms3_BI" FOR "Transforms3" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "TransformsA_BI" FOR "TransformsA" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "TransformsSS_BI" FOR "TransformsSS" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "SwitchGR_BI" FOR "SwitchGR" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "Busbars_BI" FOR "Busbars" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "ShuntReactorsRef_BI" FOR "ShuntReactorsRef" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "SynchronousCondensers_BI" FOR "SynchronousCondensers" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "CapacitorBanks_BI" FOR "CapacitorBanks" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "TiristorCondensers_BI" FOR "TiristorCondensers" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "SynchronousMotors_BI" FOR "SynchronousMotors" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "AsynchronousMotors_BI" FOR "AsynchronousMotors" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "ValveArresters_BI" FOR "ValveArresters" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "ExcessVoltageSuppressors_BI" FOR "ExcessVoltageSuppressors" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "CurrentLimitReactorsRef_BI" FOR "CurrentLimitReactorsRef" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "TransformsIRef_BI" FOR "TransformsIRef" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "TransformsVRef_BI" FOR "TransformsVRef" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
CREATE TRIGGER "MetersRef_BI" FOR "MetersRef" BEFORE INSERT AS
BEGIN NEW."Ident" = GEN_ID("ReferenceIdent", 1); END^
SET TERM ; ^

COMMIT;
