#pragma once
// Test support for the Firebird client: a program directory in a temporary
// folder whose settings point at VESKO.GDB beside them, reached through the
// embedded engine, or through the test server when the suite is built for it
// (VESKO_TESTE_SERVIDOR) and ctest has started it (scripts/firebird-server.sh).
#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <memory>
#include <stdexcept>

#include "TestSupport.h"
#include "firebird/ConexaoFirebird.h"
#include "platform/DiretorioPrograma.h"
#include "settings/IniFile.h"

#ifndef VESKO_TESTE_SERVIDOR
#define VESKO_TESTE_SERVIDOR 0
#endif

namespace vesko::teste {

// "embutido", or "127.0.0.1/<port>" of the test server.
inline QString ServidorTeste() {
    if (!VESKO_TESTE_SERVIDOR) return QStringLiteral("embutido");
    const QByteArray arquivo = qgetenv("VESKO_FB_PORTA");
    if (arquivo.isEmpty()) throw std::runtime_error("VESKO_FB_PORTA não definido: rode pelo ctest");
    QFile f(QString::fromLocal8Bit(arquivo));
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("servidor Firebird de teste não iniciado");
    return QStringLiteral("127.0.0.1/") + QString::fromLatin1(f.readAll()).trimmed();
}

class AmbienteFirebird {
public:
    // `banco`: create VESKO.GDB, empty, in WIN1252.
    explicit AmbienteFirebird(bool banco = true) {
        DefinirDiretorioPrograma(m_pasta.Caminho());
        TIniFile ini(Arquivo(QStringLiteral("Quorvel_IntegradorVesko.ini")));
        ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"), m_pasta.Caminho());
        ini.WriteString(QStringLiteral("BANCO"), QStringLiteral("Servidor"), ServidorTeste());
        if (banco) CriarBancoVazio();
    }
    ~AmbienteFirebird() { DefinirDiretorioPrograma(QString()); }

    QString Pasta() const { return m_pasta.Caminho(); }
    QString Arquivo(const QString& nome) const { return m_pasta.Arquivo(nome); }
    QString CaminhoBanco() const { return Arquivo(QStringLiteral("VESKO.GDB")); }

    TParametrosConexao Parametros(const QString& banco = QString()) const {
        return TParametrosConexao::DaConfiguracao(banco.isEmpty() ? CaminhoBanco() : banco);
    }

    std::unique_ptr<TConexaoFirebird> Conexao(const QString& banco = QString()) const {
        auto c = std::make_unique<TConexaoFirebird>(Parametros(banco));
        c->Conectar();
        return c;
    }

    void CriarBancoVazio(const QString& banco = QString()) const {
        TConexaoFirebird c(Parametros(banco));
        c.CriarBanco(false);  // tests do without forced writes
        c.Desconectar();
    }

    // Number of rows of a statement's result.
    static int Contar(TConexaoFirebird& c, const QString& sql) {
        return c.Consultar(QStringLiteral("SELECT COUNT(*) FROM ") + sql)->Fields(0).AsInteger();
    }

private:
    PastaTemporaria m_pasta;
};

}  // namespace vesko::teste
