// An exception raised inside an event handler must not end the program.
#include <gtest/gtest.h>

#include <QProcess>


TEST(AplicacaoProtegida, AnExceptionInAnEventHandlerEndsOnlyThatEvent) {
    QProcess p;
    p.start(QStringLiteral(VESKO_EVENTOS_TESTE), {});
    ASSERT_TRUE(p.waitForFinished(20000));
    ASSERT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(p.readAllStandardOutput().trimmed(), "4");  // every tick after the failures still came
    const QString erros = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(erros.contains(QStringLiteral("Erro não tratado: EDatabaseError: falha no primeiro evento"))) << erros.toStdString();
    EXPECT_TRUE(erros.contains(QStringLiteral("Erro não tratado: Exception: falha no segundo evento"))) << erros.toStdString();
    EXPECT_TRUE(erros.contains(QStringLiteral("Erro não tratado de tipo desconhecido."))) << erros.toStdString();
}
