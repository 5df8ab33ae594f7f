// `chave-publica`: the key the back office checks the sales' identification
// files with, printed by the program itself.
#include <gtest/gtest.h>

#include <sodium.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "TestSupport.h"
#include "platform/DiretorioPrograma.h"
#include "store/AssinaturaDigitalArquivosPDV.h"
#include "store/DovrahelmJSON.h"

using namespace vesko;

namespace {

teste::ResultadoPrograma ChavePublica(const QString& home) {
    return teste::RodarPrograma(home, {QStringLiteral("chave-publica")}, 60000);
}

bool Confere(const QByteArray& linha, const QByteArray& assinatura, const QByteArray& chavePublica) {
    if (assinatura.size() != crypto_sign_BYTES || chavePublica.size() != crypto_sign_PUBLICKEYBYTES) return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(assinatura.constData()),
                                       reinterpret_cast<const unsigned char*>(linha.constData()),
                                       static_cast<unsigned long long>(linha.size()),
                                       reinterpret_cast<const unsigned char*>(chavePublica.constData())) == 0;
}

}  // namespace

TEST(ChavePublica, ThePrintedKeyVerifiesALineSignedInTheSameProgramDirectory) {
    ASSERT_GE(sodium_init(), 0);
    teste::PastaTemporaria home;
    const teste::ResultadoPrograma r = ChavePublica(home.Caminho());
    ASSERT_EQ(r.codigo, 0) << r.erros.toStdString();
    ASSERT_TRUE(r.saida.endsWith(QLatin1Char('\n')));
    const QByteArray pk = QByteArray::fromBase64(r.saida.trimmed().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    ASSERT_EQ(pk.size(), crypto_sign_PUBLICKEYBYTES) << r.saida.toStdString();

    // The line of an identification file, signed as the export signs it.
    TDovrahelmJSON j;
    j.AdicionarTexto(QStringLiteral("NumeroVenda"), QStringLiteral("000000042"));
    j.AdicionarTexto(QStringLiteral("CdEmpresa"), QStringLiteral("Lanchonete Ipê"));
    j.AdicionarInteiro(QStringLiteral("DataEmissao"), 46001);
    DefinirDiretorioPrograma(home.Caminho());
    const QString s = TAssinaturaDigitalArquivosPDV::AssinarDatJSON(j.TextoJSON());
    DefinirDiretorioPrograma(QString());
    const QByteArray linha = j.TextoJSONCp1252();
    const QByteArray assinatura = QByteArray::fromBase64(s.toLatin1());
    EXPECT_TRUE(Confere(linha, assinatura, pk));
    // Asked again, the same key: the pair is made once.
    EXPECT_EQ(ChavePublica(home.Caminho()).saida, r.saida);
}

TEST(ChavePublica, ADamagedKeyOrAnUnwritableDirectoryIsAReadableLineAndExitOne) {
    teste::PastaTemporaria home;
    const QString chave = home.Arquivo(QStringLiteral("AssinaturaArquivosPDV.chave"));
    teste::GravarArquivo(chave, QByteArray(63, 'x'));
    teste::ResultadoPrograma r = ChavePublica(home.Caminho());
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(r.saida.isEmpty()) << r.saida.toStdString();
    EXPECT_TRUE(r.erros.contains(QStringLiteral("está danificada"))) << r.erros.toStdString();
    EXPECT_EQ(r.erros.count(QLatin1Char('\n')), 1) << r.erros.toStdString();
    EXPECT_EQ(teste::LerArquivo(chave), QByteArray(63, 'x'));

    // A program directory where nothing can be created: the owner cannot
    // write in a folder without write permission; root can, but not in /proc.
    teste::PastaTemporaria fechada;
    QString dir = fechada.Caminho();
    if (::geteuid() == 0)
        dir = QStringLiteral("/proc");
    else
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    r = ChavePublica(dir);
    QFile::setPermissions(fechada.Caminho(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(r.saida.isEmpty()) << r.saida.toStdString();
    EXPECT_TRUE(r.erros.contains(QStringLiteral("Não foi possível gravar a chave de assinatura"))) << r.erros.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/AssinaturaArquivosPDV.chave")));
}
