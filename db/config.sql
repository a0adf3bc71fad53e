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
