// The tray form on the offscreen platform: menu, margin, start-up question,
// exit confirmation.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "app/ConfirmaSaida.h"
#include "app/Principal.h"
#include "platform/DiretorioPrograma.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

using namespace vesko;

class BandejaTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir home;

    // Answers the next modal message box with `botao`; returns its text through `texto`.
    void ResponderCaixa(QMessageBox::StandardButton botao, QString* texto) {
        QTimer::singleShot(50, [this, botao, texto] {
            auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!caixa) return ResponderCaixa(botao, texto);
            *texto = caixa->text();
            caixa->button(botao)->click();
        });
    }

private slots:
    void init() { DefinirDiretorioPrograma(home.path()); }

    void menuHasEveryEntryInOrderWithItsImage() {
        TfrmPrincipal frm;
        QStringList nomes, textos;
        for (QAction* a : frm.PopupMenu.actions()) {
            nomes << a->objectName();
            textos << (a->isSeparator() ? QStringLiteral("-") : a->text());
        }
        QCOMPARE(nomes, QStringList({"Importacao", "Exportacao", "N2", "DiretoriosDeIntegracao", "N3",
                                     "Configuracoes", "LogsOcorrncias", "N4", "Sair"}));
        QCOMPARE(textos, QStringList({"&Importação", "&Exportação", "-", "&Diretórios de Integração", "-",
                                      "&Configurações", "&Logs (Ocorrências)", "-", "&Sair"}));
        QMenu* sub = frm.PopupMenu.actions()[3]->menu();
        QVERIFY(sub);
        QStringList subTextos;
        for (QAction* a : sub->actions()) subTextos << a->objectName() + "=" + a->text();
        QCOMPARE(subTextos, QStringList({"Entrada=&Importação", "Saida=&Exportação", "Basededados1=&Base de dados"}));
        for (QAction* a : frm.PopupMenu.actions())
            if (!a->isSeparator()) QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
        QCOMPARE(frm.Tray.toolTip(), QStringLiteral("Integrador Vesko"));
    }

    void marginIsPaintedWithTheGradientAndTheVersion() {
        TfrmPrincipal frm;
        frm.PopupMenu.ensurePolished();
        frm.PopupMenu.resize(frm.PopupMenu.sizeHint());
        const QImage img = frm.PopupMenu.grab().toImage();
        QVERIFY(img.height() > 100);
        const QColor topo = img.pixelColor(2, 1);
        const QColor base = img.pixelColor(2, img.height() - 2);
        QVERIFY2(qAbs(topo.red() - 136) < 12 && qAbs(topo.blue() - 204) < 12, qPrintable(topo.name()));
        QVERIFY2(qAbs(base.red() - 34) < 12 && qAbs(base.blue() - 51) < 12, qPrintable(base.name()));
        // White text somewhere in the lower part of the margin.
        bool branco = false;
        for (int y = img.height() / 2; y < img.height() && !branco; ++y)
            for (int x = 0; x < TMenuMargem::kLarguraMargem; ++x)
                if (img.pixelColor(x, y).lightness() > 200) branco = true;
        QVERIFY(branco);
        // The entries start right of the margin.
        const QRect primeira = frm.PopupMenu.actionGeometry(frm.PopupMenu.actions()[0]);
        QVERIFY(primeira.left() >= TMenuMargem::kLarguraMargem);
        QCOMPARE(TMenuMargem::TextoMargem(), QStringLiteral("Integrador Vesko v. 6.13.11.2"));
    }

    void startUpWithoutSettingsAsksTheQuestion() {
        TfrmPrincipal frm;
        QString texto;
        ResponderCaixa(QMessageBox::No, &texto);
        frm.FormCreate();
        QCOMPARE(texto, QStringLiteral("Não foram encontradas as configurações necessárias para o funcionamento "
                                       "do sistema.\r\n\r\nDeseja fazer estas configurações agora?"));
        QVERIFY(!frm.Agendador().Ocupado());
        QVERIFY(!frm.Agendador().TimerImportacao.isActive());
    }

    void directoryEntryWarnsWhenItsDirectoryIsMissing() {
        TfrmPrincipal frm;
        QString texto;
        ResponderCaixa(QMessageBox::Ok, &texto);
        frm.Basededados1Click();
        QCOMPARE(texto, QStringLiteral("O diretório da base de dados não foi configurado ou não existe."));
    }

    void hintThinsProgressButShowsEveryOtherTextAtOnce() {
        TfrmPrincipal frm;
        const auto progresso = [](int k) {
            return QStringLiteral("Importando arquivo de produtos (%1 de 500 -> %2,00%)...").arg(k).arg(k / 5);
        };
        frm.DefinirHint(QStringLiteral("Carregando arquivo de produtos..."));
        QCOMPARE(frm.Tray.toolTip(), QStringLiteral("Carregando arquivo de produtos..."));
        frm.DefinirHint(progresso(1));
        QCOMPARE(frm.Tray.toolTip(), progresso(1));  // the first of a rewrite at once
        for (int k = 1; k <= 500; ++k) frm.DefinirHint(progresso(k));
        QCOMPARE(frm.Tray.toolTip(), progresso(500));  // and the last
        // A run blocks the UI thread: a text that must be seen is shown when
        // it arrives, not by a timer that cannot fire.
        frm.DefinirHint(QStringLiteral("Carregando arquivo de imagens de produtos..."));
        QThread::msleep(1000);
        QCOMPARE(frm.Tray.toolTip(), QStringLiteral("Carregando arquivo de imagens de produtos..."));
        frm.DefinirHint("a");
        frm.DefinirIcone(IInterfacePrincipal::IconeOcioso);
        QCOMPARE(frm.Tray.toolTip(), QStringLiteral("a"));
    }

    void exitConfirmationNeedsTheExactWord() {
        TConfirmaSaida d(QStringLiteral("Integrador Vesko"), QStringLiteral("Vesko"));
        QCOMPARE(d.windowTitle(), QStringLiteral("Encerrar Integrador Vesko"));
        QCOMPARE(d.lblDescricao->text(), QStringLiteral("Se o Integrador Vesko for encerrado não haverá integração "
                                                        "entre o Vesko e a retaguarda e os dados poderão ficar "
                                                        "desatualizados."));
        QCOMPARE(d.lblConfirmacao->text(), QStringLiteral("Para encerrar o Integrador Vesko digite CONFIRMO"));
        d.show();
        QVERIFY(!d.btnOk->isEnabled());
        QTest::keyClicks(d.edtConfirmo, "confirmo");
        QCOMPARE(d.edtConfirmo->text(), QStringLiteral("CONFIRMO"));
        QVERIFY(d.btnOk->isEnabled());
        QTest::keyClick(d.edtConfirmo, Qt::Key_Backspace);
        QVERIFY(!d.btnOk->isEnabled());
        d.edtConfirmo->setText("CONFIRMO ");
        QVERIFY(!d.btnOk->isEnabled());
        TConfirmaSaida longo(QString(60, 'X'), QStringLiteral("Vesko"));
        QCOMPARE(longo.width(),
                 longo.lblConfirmacao->fontMetrics().horizontalAdvance(longo.lblConfirmacao->text()) + 10);
    }
};

QTEST_MAIN(BandejaTest)
#include "BandejaTest.moc"
