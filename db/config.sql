/* Settings database: the backup settings row. The table has no key; the program finds the row
   by the values of all its columns. */

CREATE TABLE TCONFIGURACAO (
    CODIGO              INTEGER NOT NULL,
    LOCAL_BANCO_DADOS   VARCHAR(500),
    LOCAL_BACKUP_BANCO  VARCHAR(500),
    BACKUP_AUTOMATICO   VARCHAR(3),
    INTERVALO_BACKUP    INTEGER
);

INSERT INTO TCONFIGURACAO (CODIGO, LOCAL_BANCO_DADOS, LOCAL_BACKUP_BANCO, BACKUP_AUTOMATICO, INTERVALO_BACKUP)
VALUES (1, '', '', 'NAO', 30);
COMMIT;

/* The label sheets' margins and gaps as the user last set them, one row per sheet layout; EM_USO
   "SIM" marks the layout the labels window opens with. A settings database made before the labels
   gets the table when the program opens it (core/settings_tables.cpp makes the same). */
CREATE TABLE TETIQUETA (
    MODELO             VARCHAR(10) NOT NULL PRIMARY KEY,
    MARGEM_SUPERIOR    DOUBLE PRECISION,
    MARGEM_ESQUERDA    DOUBLE PRECISION,
    ESPACO_HORIZONTAL  DOUBLE PRECISION,
    ESPACO_VERTICAL    DOUBLE PRECISION,
    EM_USO             VARCHAR(3)
);
COMMIT;
