#include <unistd.h>
#include <QFile>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "base/Cp1252.h"
#include "base/Excecoes.h"
#include "settings/IniFile.h"

using namespace vesko;
using vesko::teste::GravarArquivo;
using vesko::teste::LerArquivo;

TEST(IniFile, IntegersAsTheProfileFunctionsReadThem) {
    EXPECT_EQ(TIniFile::ConverterInteiro("10"), 10);
    EXPECT_EQ(TIniFile::ConverterInteiro("-7"), -7);
    EXPECT_EQ(TIniFile::ConverterInteiro("$A"), 10);
    EXPECT_EQ(TIniFile::ConverterInteiro("0x0A"), 10);
    EXPECT_EQ(TIniFile::ConverterInteiro("0X1f"), 31);
    EXPECT_EQ(TIniFile::ConverterInteiro("$FFFFFFFF"), -1);
    EXPECT_EQ(TIniFile::ConverterInteiro("0"), 0);
    for (const char* ruim : {"abc", "", "$", "0x", "1.5", "10abc", "$G", "$-1", "$123456789", "2147483648", "true"})
        EXPECT_FALSE(TIniFile::ConverterInteiro(ruim).has_value()) << ruim;
}

TEST(IniFile, NamesWithoutRegardToCaseBlanksQuotesCommentsAndFirstKeyWins) {
    teste::PastaTemporaria pasta;
    const QString nome = pasta.Arquivo("a.ini");
    GravarArquivo(nome,
                  "; comentario\r\n[configs]\r\n  diretorioimportacao =  C:\\Dados\\  \r\n"
                  "Chave=\"entre aspas\"\r\nChave=segunda\r\n[OUTRA]\r\nX=1\r\n");
    const TIniFile ini(nome);
    EXPECT_EQ(ini.ReadString("CONFIGS", "DiretorioImportacao", "?"), "C:\\Dados\\");
    EXPECT_EQ(ini.ReadString("Configs", "CHAVE", "?"), "entre aspas");
    EXPECT_EQ(ini.ReadString("CONFIGS", "X", "padrão"), "padrão");
    EXPECT_EQ(ini.ReadInteger("outra", "x", 5), 1);
    EXPECT_TRUE(ini.SectionExists("Outra"));
    EXPECT_FALSE(ini.ValueExists("OUTRA", "Y"));
}

TEST(IniFile, WritingKeepsEveryOtherLineLineEndingAndCodePage) {
    teste::PastaTemporaria pasta;
    const QString nome = pasta.Arquivo("a.ini");
    QByteArray original = "; topo\r\n[CONFIGS]\r\nA=1\r\n\r\n[GERAL]\r\nQueryDebug=1\r\nCaminho=";
    original += ParaCp1252(QStringLiteral("C:\\Integração")) + "\r\n";
    GravarArquivo(nome, original);
    {
        TIniFile ini(nome);
        ini.WriteString("configs", "B", "dois");   // new key at the end of its section
        ini.WriteInteger("CONFIGS", "a", 3);        // existing key: only its line changes
        ini.WriteString("NOVA", "K", "v");          // new section at the end
    }
    const QByteArray esperado = QByteArray("; topo\r\n[CONFIGS]\r\na=3\r\nB=dois\r\n\r\n[GERAL]\r\nQueryDebug=1\r\nCaminho=") +
                                ParaCp1252(QStringLiteral("C:\\Integração")) + "\r\n[NOVA]\r\nK=v\r\n";
    EXPECT_EQ(LerArquivo(nome), esperado);
    EXPECT_EQ(TIniFile(nome).ReadString("GERAL", "Caminho", ""), QStringLiteral("C:\\Integração"));
}

// The code page is a guess from the bytes; a rewrite must not change the guess.
TEST(IniFile, RewritingKeepsTheCodePageTheFileWasReadIn) {
    teste::PastaTemporaria pasta;
    // Windows-1252 whose accented bytes happen to form UTF-8 ("AÃ§Ã£o" is
    // 41 C3 A7 C3 A3 6F); only the trimmed 0xA0 tells it from UTF-8.
    const QString nome = pasta.Arquivo("ambiguo.ini");
    const QString acentuado = QStringLiteral("A\u00C3\u00A7\u00C3\u00A3o");
    GravarArquivo(nome, "[A]\r\nNome=" + ParaCp1252(acentuado) + "\r\nPasta=X\xA0\r\n");
    ASSERT_EQ(TIniFile(nome).ReadString("A", "Nome", ""), acentuado);
    TIniFile(nome).WriteString("A", "Pasta", "Y");  // the 0xA0 goes away
    EXPECT_EQ(TIniFile(nome).ReadString("A", "Nome", ""), acentuado);
    const QByteArray depois = LerArquivo(nome);
    TIniFile(nome).WriteString("A", "Pasta", "Z");  // the mark line is kept, not added again
    EXPECT_EQ(TIniFile(nome).ReadString("A", "Nome", ""), acentuado);
    EXPECT_EQ(LerArquivo(nome), QByteArray(depois).replace("Pasta=Y", "Pasta=Z"));
    EXPECT_EQ(LerArquivo(nome).count("Windows-1252"), 1);

    // A plain Windows-1252 file gets no extra line.
    const QString simples = pasta.Arquivo("simples.ini");
    GravarArquivo(simples, "[A]\nNome=" + ParaCp1252(QStringLiteral("Ação")) + "\n");
    TIniFile(simples).WriteString("A", "B", "1");
    EXPECT_EQ(LerArquivo(simples), "[A]\nNome=" + ParaCp1252(QStringLiteral("Ação")) + "\nB=1\n");

    // A sequence cut at the end is not UTF-8: no byte is dropped.
    const QString cortado = pasta.Arquivo("cortado.ini");
    GravarArquivo(cortado, "[A]\nX=fim\xC3");
    EXPECT_EQ(TIniFile(cortado).ReadString("A", "X", ""), QStringLiteral("fim\u00C3"));

    // A UTF-8 file keeps its byte-order mark.
    const QString comBom = pasta.Arquivo("bom.ini");
    GravarArquivo(comBom, "\xEF\xBB\xBF[A]\nNome=Ação\n");
    TIniFile(comBom).WriteString("A", "B", "1");
    EXPECT_EQ(LerArquivo(comBom), "\xEF\xBB\xBF[A]\nNome=Ação\nB=1\n");
    EXPECT_EQ(TIniFile(comBom).ReadString("A", "Nome", ""), QStringLiteral("Ação"));
}

TEST(IniFile, MissingFileReadsEmptyAndFailedWriteRaises) {
    teste::PastaTemporaria pasta;
    TIniFile ausente(pasta.Arquivo("nao-existe.ini"));
    EXPECT_EQ(ausente.ReadString("A", "B", "x"), "x");

    TIniFile emPastaInexistente(pasta.Arquivo("sem/pasta/a.ini"));
    EXPECT_THROW(emPastaInexistente.WriteString("A", "B", "c"), EIniFileException);

    const QString somenteLeitura = pasta.Arquivo("ro.ini");
    GravarArquivo(somenteLeitura, "[A]\nB=1\n");
    QFile::setPermissions(somenteLeitura, QFile::ReadOwner);
    if (::geteuid() != 0) {  // root writes read-only files anyway
        TIniFile ro(somenteLeitura);
        EXPECT_THROW(ro.WriteString("A", "B", "2"), EIniFileException);
    }
}

TEST(IniFile, DeferredWritesReachTheFileTogether) {
    teste::PastaTemporaria pasta;
    const QString nome = pasta.Arquivo("a.ini");
    GravarArquivo(nome, "[CONFIGS]\nA=1\n");
    TIniFile ini(nome);
    ini.AdiarGravacao();
    ini.WriteString("CONFIGS", "A", "2");
    ini.WriteString("CONFIGS", "B", "3");
    EXPECT_EQ(LerArquivo(nome), QByteArray("[CONFIGS]\nA=1\n"));  // nothing yet
    ini.UpdateFile();
    EXPECT_EQ(LerArquivo(nome), QByteArray("[CONFIGS]\nA=2\nB=3\n"));
    ini.WriteString("CONFIGS", "A", "4");  // back to one write, one save
    EXPECT_EQ(LerArquivo(nome), QByteArray("[CONFIGS]\nA=4\nB=3\n"));
}

TEST(IniFile, ValuesReadBackExactlyAsWritten) {
    teste::PastaTemporaria pasta;
    const QString nome = pasta.Arquivo("a.ini");
    const QStringList valores = {"/dados/X ", " /dados/Y", "'a'", "\"b\"", "\"c", "C:\\Integração\\", ""};
    {
        TIniFile ini(nome);
        for (int i = 0; i < valores.size(); ++i) ini.WriteString("CONFIGS", QString::number(i), valores[i]);
    }
    const TIniFile lido(nome);
    for (int i = 0; i < valores.size(); ++i) EXPECT_EQ(lido.ReadString("CONFIGS", QString::number(i), "?"), valores[i]);
    // Only the values that need them get quotes.
    EXPECT_EQ(LerArquivo(nome), QStringLiteral("[CONFIGS]\n0=\"/dados/X \"\n1=\" /dados/Y\"\n2=\"'a'\"\n3=\"\"b\"\"\n"
                                               "4=\"c\n5=C:\\Integração\\\n6=\n")
                                    .toUtf8());
}
