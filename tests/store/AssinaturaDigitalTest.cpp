// The signature line of a changed sale's identification file: Ed25519 over
// the written bytes, with a key pair kept in the program's directory.
#include <gtest/gtest.h>

#include <sodium.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "TestSupport.h"
#include "base/Cp1252.h"
#include "platform/DiretorioPrograma.h"
#include "store/AssinaturaDigitalArquivosPDV.h"
#include "store/DovrahelmJSON.h"

using namespace vesko;

namespace {

using TAssinatura = TAssinaturaDigitalArquivosPDV;

// A program directory of its own for each test.
class AssinaturaDigital : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(sodium_init(), 0);
        DefinirDiretorioPrograma(m_home.Caminho());
    }
    void TearDown() override { DefinirDiretorioPrograma(QString()); }
    teste::PastaTemporaria m_home;
};

bool Confere(const QByteArray& linha, const QString& assinatura, const QString& chavePublica) {
    const QByteArray s = QByteArray::fromBase64(assinatura.toLatin1());
    const QByteArray pk = QByteArray::fromBase64(chavePublica.toLatin1());
    if (s.size() != crypto_sign_BYTES || pk.size() != crypto_sign_PUBLICKEYBYTES) return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(s.constData()),
                                       reinterpret_cast<const unsigned char*>(linha.constData()),
                                       static_cast<unsigned long long>(linha.size()),
                                       reinterpret_cast<const unsigned char*>(pk.constData())) == 0;
}

}  // namespace

TEST_F(AssinaturaDigital, SignsTheWindows1252BytesAndATamperedLineDoesNotVerify) {
    TDovrahelmJSON j;
    j.AdicionarTexto(QStringLiteral("NumeroVenda"), QStringLiteral("000001234"));
    j.AdicionarTexto(QStringLiteral("CdEmpresa"), QStringLiteral("Padaria São João"));
    j.AdicionarInteiro(QStringLiteral("DataPedido"), 46000);
    const QString s = TAssinatura::AssinarDatJSON(j.TextoJSON());
    const QString pk = TAssinatura::ChavePublica();
    EXPECT_EQ(s.size(), 88);  // 64 bytes in standard base64, padded
    EXPECT_TRUE(s.endsWith(QStringLiteral("==")));
    EXPECT_EQ(QByteArray::fromBase64(s.toLatin1()).toBase64(), s.toLatin1());  // standard alphabet

    const QByteArray escrito = j.TextoJSONCp1252();
    EXPECT_TRUE(Confere(escrito, s, pk));
    EXPECT_EQ(TAssinatura::AssinarBytes(escrito), s);  // Ed25519 is deterministic
    // The UTF-8 form of the same text is not what was signed.
    EXPECT_FALSE(Confere(j.TextoJSON().toUtf8(), s, pk));
    // One changed digit, or a line break kept on the line, fails the check.
    QByteArray adulterado = escrito;
    adulterado.replace("46000", "46001");
    EXPECT_FALSE(Confere(adulterado, s, pk));
    EXPECT_FALSE(Confere(escrito + "\r\n", s, pk));
    // A character outside the code page is signed as the "?" written for it.
    const QString fora = QStringLiteral("{\"a\":\"→\"}");
    EXPECT_TRUE(Confere(QByteArray("{\"a\":\"?\"}"), TAssinatura::AssinarDatJSON(fora), pk));
}

TEST_F(AssinaturaDigital, TheKeyPairIsMadeOnceOwnerOnlyAndReused) {
    const QString caminho = TAssinatura::CaminhoChave();
    EXPECT_EQ(QFileInfo(caminho).absolutePath(), QFileInfo(m_home.Caminho()).absoluteFilePath());
    EXPECT_FALSE(QFileInfo::exists(caminho));
    const QString pk = TAssinatura::ChavePublica();
    ASSERT_TRUE(QFileInfo::exists(caminho));
    const QByteArray chave = teste::LerArquivo(caminho);
    EXPECT_EQ(chave.size(), crypto_sign_SECRETKEYBYTES);
    const auto permissoes = QFile::permissions(caminho);
    EXPECT_TRUE(permissoes.testFlag(QFileDevice::ReadOwner));
    EXPECT_FALSE(permissoes & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                               QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther));

    // Signing and asking again use the same pair; the file is left as it was.
    const QString s = TAssinatura::AssinarDatJSON(QStringLiteral("{}"));
    EXPECT_EQ(TAssinatura::ChavePublica(), pk);
    EXPECT_TRUE(Confere("{}", s, pk));
    EXPECT_EQ(teste::LerArquivo(caminho), chave);
    EXPECT_EQ(QFileInfo(caminho).absoluteDir().entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no lock or temporary file left";
}

TEST_F(AssinaturaDigital, ADamagedKeyFileIsAClearErrorAndIsNeverReplaced) {
    const QString caminho = TAssinatura::CaminhoChave();
    TAssinatura::ChavePublica();
    const QByteArray boa = teste::LerArquivo(caminho);
    QByteArray trocada = boa;
    trocada[40] = static_cast<char>(trocada[40] ^ 0x01);  // one bit of the stored public half
    for (const QByteArray& danificada : {QByteArray(), boa.left(32), boa + "x", trocada}) {
        teste::GravarArquivo(caminho, danificada);
        try {
            TAssinatura::AssinarDatJSON(QStringLiteral("{}"));
            ADD_FAILURE() << "signed with a damaged key of " << danificada.size() << " bytes";
        } catch (const EChaveAssinaturaInvalida& e) {
            EXPECT_EQ(e.NomeClasse(), QStringLiteral("EChaveAssinaturaInvalida"));
            EXPECT_TRUE(e.Mensagem().contains(caminho)) << e.Mensagem().toStdString();
            EXPECT_TRUE(e.Mensagem().contains(QStringLiteral("danificada"))) << e.Mensagem().toStdString();
        }
        EXPECT_THROW(TAssinatura::ChavePublica(), EChaveAssinaturaInvalida);
        EXPECT_EQ(teste::LerArquivo(caminho), danificada);  // no silent new key
    }
}
