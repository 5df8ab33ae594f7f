#pragma once
// Where and how a connection reaches its database: the server (or the
// embedded engine), the file, the user and the character set, read from the
// program's settings.
#include <QString>

namespace vesko {

// Where and how to connect. The defaults are the POS installation's: the
// local server, user SYSDBA.
struct TParametrosConexao {
    static constexpr const char* kEmbutido = "embutido";

    QString Servidor = QStringLiteral("localhost");  // "embutido", a host, or host/port
    QString Banco;                                   // the database file
    QString Usuario = QStringLiteral("SYSDBA");
    QString Senha = QStringLiteral("quillfern");
    QString CharSet = QStringLiteral("WIN1252");     // of the connection and of new databases

    bool Embutido() const;
    // True when the database file is on this machine's disk (embedded engine
    // or a server on a local address), so that its existence can be checked.
    bool ArquivoLocal() const;
    // The text handed to the client library: "host:path", "host/port:path",
    // or the path alone for the embedded engine.
    QString TextoConexao() const;
    QString TextoGerenciadorServicos() const;  // "service_mgr" on the same server

    // The defaults, overridden by the optional section [BANCO] of the
    // settings file (keys Servidor, Usuario, Senha), for the given file.
    static TParametrosConexao DaConfiguracao(const QString& caminhoBanco);
    // The same for the POS database of the settings (DiretorioBaseDeDados).
    static TParametrosConexao DoPrograma();
};

// `Diretorio` with a separator added when missing, followed by "VESKO.GDB".
QString CaminhoBancoDeDados(const QString& Diretorio);

}  // namespace vesko
