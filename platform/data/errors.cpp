#include "platform/data/errors.h"
#include <QRegularExpression>
#include <atomic>

namespace data {

DataError::DataError(QString message, QString detail)
    : message_(std::move(message)), detail_(std::move(detail)), what_(fullText().toUtf8()) {}

QString DataError::fullText() const {
    return detail_.isEmpty() ? message_ : message_ + "\n\n" + detail_;
}

DatabaseError::DatabaseError(QString message, QString detail, int sqlCode)
    : DataError(std::move(message), std::move(detail)), sqlCode_(sqlCode) {}

namespace {
// The engine's texts for an attachment whose server went away: isc_net_read_err (335544726),
// isc_net_write_err (335544727), isc_lost_db_connection (335544741) and isc_att_shutdown
// (335544856). Qt's driver passes on only the text and the SQLCODE (-902, shared with many other
// errors), so the text is what tells them.
constexpr const char* kLostConnection[] = {
    "Error reading data from the connection",
    "Error writing data to the connection",
    "connection lost to database",
    "connection shutdown",
};

std::atomic<quint64> lostCount{0};

bool mentions(const QString& text, const char* needle) {
    return text.contains(QLatin1String(needle), Qt::CaseInsensitive);
}
} // namespace

quint64 DatabaseError::connectionsLost() {
    return lostCount;
}

QString DatabaseError::connectionLostMessage() {
    return QStringLiteral("A conexão com o banco de dados foi perdida (o servidor foi reiniciado "
                          "ou a rede caiu) e nada da última operação foi gravado. Tente de novo: "
                          "o programa se conecta outra vez ao banco de dados.");
}

DatabaseError DatabaseError::fromFirebird(const QString& text, int sqlCode,
                                          const QString& context) {
    struct Known {
        const char* needle;
        const char* message;
    };
    // Firebird's wording, as its driver passes it on, for the errors a user can cause. A failed
    // read or write of the file ends with the system's own cause, which leads: the engine's
    // "I/O error" line alone would not tell the user what to do.
    static const Known known[] = {
        {"No space left on device", "Não há espaço livre no disco do banco de dados. Libere "
                                    "espaço no disco e tente de novo."},
        {"Disk quota exceeded", "A cota de disco do usuário acabou. Libere espaço no disco e "
                                "tente de novo."},
        {"Read-only file system", "O disco do banco de dados só permite leitura."},
        {"no permission for read-write access", "O arquivo do banco de dados só permite "
                                                "leitura; o programa precisa gravar nele."},
        {"read-only database", "O banco de dados só permite leitura; nada pode ser gravado nele."},
        {"Permission denied", "O sistema negou o acesso ao arquivo do banco de dados (permissão "
                              "negada)."},
        {"No such file or directory", "O arquivo do banco de dados não foi encontrado."},
        // A server that cannot be reached at all (isc_network_error, 335544721).
        {"Unable to complete network request to host",
         "O servidor do banco de dados não respondeu: ele está desligado, o endereço ou a porta "
         "estão errados, ou a rede está fora do ar."},
        // A file of an older engine (Firebird 2.x writes structure 11).
        {"unsupported on-disk structure",
         "O banco de dados foi gravado por uma versão mais antiga do Firebird, numa estrutura "
         "que esta versão não abre. Nada foi alterado no arquivo. Para trazê-lo: no computador "
         "onde a versão antiga está instalada, faça uma cópia de segurança com o gbak (gbak -b "
         "QUIRU.GDB QUIRU.FBK) e restaure-a aqui em \"Realizar/Restaurar Backup\", ou coloque-a "
         "no lugar do banco de dados e abra o programa: ele oferece a restauração."},
        {"is not a valid database", "O arquivo não é um banco de dados do Firebird."},
        {"I/O error", "Erro ao ler ou gravar o arquivo do banco de dados."},
        // Before "arithmetic exception", which the engine says first for this one too.
        {"Cannot transliterate character",
         "Um caractere do texto não existe no conjunto de caracteres do banco de dados e não "
         "pode ser gravado nele."},
        {"string right truncation", "O texto digitado é maior do que o campo permite."},
        {"numeric value is out of range", "O número digitado está fora do intervalo permitido."},
        {"arithmetic exception", "O número digitado está fora do intervalo permitido."},
        {"PRIMARY or UNIQUE KEY", "Já existe um registro com este código ou chave."},
        {"lock conflict", "O registro está em uso por outro programa. Tente novamente."},
        {"deadlock", "O registro está em uso por outro programa. Tente novamente."},
        {"update conflicts", "O registro está em uso por outro programa. Tente novamente."},
        {"FOREIGN KEY", "O registro está ligado a outros registros."},
        {"validation error", "Um valor não é aceito pelo banco de dados."},
        {"Table unknown", "O banco de dados não tem a tabela esperada."},
        {"Column unknown", "O banco de dados não tem a coluna esperada."},
    };
    for (const char* needle : kLostConnection) {
        if (mentions(text, needle)) {
            ++lostCount;
            return DatabaseError(connectionLostMessage(), text, sqlCode);
        }
    }
    // A column the program does not fill that the database requires (added by another program).
    static const QRegularExpression required(
        QStringLiteral("validation error for column \"?([A-Z0-9_$]+)\"?\\.\"?([A-Z0-9_$]+)\"?, "
                       "value \"\\*\\*\\* null \\*\\*\\*\""));
    if (const QRegularExpressionMatch m = required.match(text); m.hasMatch()) {
        QString message =
            QStringLiteral("O banco de dados exige um valor na coluna %1 da tabela %2, que este "
                           "programa não preenche (ela foi acrescentada por outro programa). "
                           "Dê a essa coluna um valor padrão no banco de dados ou permita que "
                           "fique vazia.")
                .arg(m.captured(2), m.captured(1));
        if (!context.isEmpty())
            message = context + "\n" + message;
        return DatabaseError(message, text, sqlCode);
    }
    for (const auto& k : known) {
        if (mentions(text, k.needle)) {
            QString message = QString::fromUtf8(k.message);
            if (!context.isEmpty())
                message = context + "\n" + message;
            return DatabaseError(message, text, sqlCode);
        }
    }
    QString message = context.isEmpty() ? QStringLiteral("Erro no banco de dados.") : context;
    return DatabaseError(message, text, sqlCode);
}

} // namespace data
