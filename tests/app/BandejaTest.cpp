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

#include <QSignalSpy>

#include "ApoioCompanheiro.h"
#include "TestSupport.h"
#include "app/ConfirmaSaida.h"
#include "app/Principal.h"
#include "app/TratamentoExecutaveis.h"
#include "resources/Icones.h"
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

    // Works the next exit confirmation: checks the tray while it is open,
    // then types `palavra` and presses Ok, or presses Esc when `palavra` is empty.
    void ResponderConfirmacao(TfrmPrincipal& frm, const QString& palavra, bool* vistoOcupado) {
        QTimer::singleShot(20, &frm, [this, &frm, palavra, vistoOcupado] {
            auto* d = qobject_cast<TConfirmaSaida*>(QApplication::activeModalWidget());
            if (!d) return ResponderConfirmacao(frm, palavra, vistoOcupado);
            *vistoOcupado = frm.Agendador().Ocupado() && !frm.Tray.isVisible();
            if (palavra.isEmpty()) return QTest::keyClick(d->edtConfirmo, Qt::Key_Escape);
            QTest::keyClicks(d->edtConfirmo, palavra);
            d->btnOk->click();
        });
    }

    QString IniciarCompanheiro() {
        const QString caminho = teste::CopiarCompanheiro(home.path(), TAgendadorIntegrador::kNomeGuardian);
        if (!TTratamentoExecutaveis::ExecutarProcesso(caminho, QString())) return QString();
        teste::Esperar([&] { return teste::Inicios(home.path()).size() == 1; });
        return caminho;
    }

    static void Capturar(QWidget& w, const QString& nome) {
        const QString pasta = qEnvironmentVariable("VESKO_CAPTURAS");
        if (!pasta.isEmpty() && QDir().mkpath(pasta)) w.grab().save(pasta + "/" + nome + ".png");
    }

    static QImage Imagem(const QIcon& icone) { return icone.pixmap(16, 16).toImage(); }

private slots:
    // As the program runs: closing a dialog, the last window, does not end it.
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { DefinirDiretorioPrograma(home.path()); }
    void cleanup() {
        TTratamentoExecutaveis::EncerrarProcesso(TAgendadorIntegrador::kNomeGuardian);
        QFile::remove(home.path() + "/inicios.txt");
    }

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
        Capturar(frm.PopupMenu, "menu-bandeja");
    }

    void marginTextFitsTheMenuHeightDownToEightPoints() {
        TfrmPrincipal frm;
        frm.PopupMenu.ensurePolished();
        const int altura = frm.PopupMenu.sizeHint().height();
        const QFont fonte = TMenuMargem::FonteMargem(altura);
        qInfo("menu %d px high: margin text at %s points", altura, qPrintable(QString::number(fonte.pointSizeF())));
        QVERIFY(fonte.pointSizeF() <= 9 && fonte.pointSizeF() >= 8);
        QVERIFY2(QFontMetrics(fonte).horizontalAdvance(TMenuMargem::TextoMargem()) <= altura - 5,
                 qPrintable(QString::number(fonte.pointSizeF())));
        QCOMPARE(TMenuMargem::FonteMargem(2000).pointSizeF(), 9.0);  // room enough: the design's size
        QCOMPARE(TMenuMargem::FonteMargem(60).pointSizeF(), 8.0);    // never below 8 points
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

    void directoryEntryNamesTheDirectoryWhenItCannotBeOpened() {
        QTemporaryDir pasta, programas;
        const QString entrada = pasta.path() + "/Entrada da loja";
        QDir().mkpath(entrada);
        TConfigsIntegradorPDVBistrel c;
        c.SetDiretorioImportacao(entrada);
        c.Gravar();
        const QByteArray caminho = qgetenv("PATH");
        qputenv("PATH", programas.path().toLocal8Bit());
        TfrmPrincipal frm;
        // No opener at all.
        QString texto;
        ResponderCaixa(QMessageBox::Ok, &texto);
        frm.EntradaClick();
        QCOMPARE(texto, "Não foi possível abrir o diretório \"" + entrada +
                            "\" no gerenciador de arquivos. Abra-o manualmente.");
        // An opener that finds no file manager says so only by its exit status.
        const QString xdg = programas.path() + "/xdg-open";
        teste::GravarArquivo(xdg, "#!/bin/sh\nprintf '%s' \"$1\" > \"${0%/*}/pedido\"\nexit 3\n");
        teste::TornarExecutavel(xdg);
        texto.clear();
        ResponderCaixa(QMessageBox::Ok, &texto);
        frm.EntradaClick();
        QVERIFY(teste::Esperar([&] { return !texto.isEmpty(); }));
        qputenv("PATH", caminho);
        QVERIFY2(texto.contains(entrada), qPrintable(texto));
        QCOMPARE(QString::fromUtf8(teste::LerArquivo(programas.path() + "/pedido")), entrada);  // one argument
    }

    void confirmedExitEndsTheCompanionAndQuits() {
        QVERIFY(!IniciarCompanheiro().isEmpty());
        QVERIFY(TTratamentoExecutaveis::ProcessoEmExecucao(TAgendadorIntegrador::kNomeGuardian));
        TfrmPrincipal frm;
        QSignalSpy encerrado(&frm, &TfrmPrincipal::Encerrado);
        bool vistoOcupado = false;
        ResponderConfirmacao(frm, "confirmo", &vistoOcupado);
        QTimer::singleShot(0, &frm, [&frm] { frm.SairClick(); });
        QTimer guarda;  // a program that does not quit fails here instead of hanging
        guarda.setSingleShot(true);
        connect(&guarda, &QTimer::timeout, [] { QApplication::exit(99); });
        guarda.start(120000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(vistoOcupado);
        QCOMPARE(encerrado.count(), 1);
        QVERIFY(!TTratamentoExecutaveis::ProcessoEmExecucao(TAgendadorIntegrador::kNomeGuardian));
    }

    void cancelledExitChangesNothing() {
        QVERIFY(!IniciarCompanheiro().isEmpty());
        TfrmPrincipal frm;
        QSignalSpy encerrado(&frm, &TfrmPrincipal::Encerrado);
        bool vistoOcupado = false;
        ResponderConfirmacao(frm, QString(), &vistoOcupado);  // Esc
        frm.SairClick();
        QVERIFY(vistoOcupado);
        QCOMPARE(encerrado.count(), 0);
        QVERIFY(frm.Tray.isVisible());
        QVERIFY(!frm.Agendador().Ocupado());
        QCOMPARE(Imagem(frm.Tray.icon()), Imagem(IconeBandeja(IInterfacePrincipal::IconeOcioso)));
        QCOMPARE(teste::ContarCompanheiros(TAgendadorIntegrador::kNomeGuardian), 1);
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

    void exitConfirmationWidthAndKeys() {
        TConfirmaSaida d(QStringLiteral("Integrador Vesko"), QStringLiteral("Vesko"));
        const int instrucao = d.lblConfirmacao->fontMetrics().horizontalAdvance(d.lblConfirmacao->text());
        QCOMPARE(d.width(), instrucao + 10);  // no other floor
        QCOMPARE(d.height(), 162);
        QCOMPARE(d.lblDescricao->width(), d.lblConfirmacao->width());
        QVERIFY(d.edtConfirmo->geometry().right() < d.btnOk->geometry().left());
        QVERIFY(d.btnCancel->geometry().right() < d.width());
        // The description's lines all stand in its label.
        const QRect texto = d.lblDescricao->fontMetrics().boundingRect(
            QRect(0, 0, d.lblDescricao->width(), 1000), Qt::AlignCenter | Qt::TextWordWrap, d.lblDescricao->text());
        QVERIFY2(texto.height() <= d.lblDescricao->height(), qPrintable(QString::number(texto.height())));
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.activateWindow();
        d.edtConfirmo->setFocus();
        Capturar(d, "confirma-saida");

        for (const char* quase : {"confirmox", "confirmo "}) {
            d.edtConfirmo->clear();
            QTest::keyClicks(d.edtConfirmo, quase);
            QVERIFY2(!d.btnOk->isEnabled(), quase);
        }
        d.edtConfirmo->clear();
        d.edtConfirmo->setFocus();
        QTest::keyClick(d.edtConfirmo, Qt::Key_Return);  // Enter moves on, past the disabled Ok
        QCOMPARE(QApplication::focusWidget(), d.btnCancel);
        QVERIFY(d.isVisible());
        QTest::keyClicks(d.edtConfirmo, "confirmo");
        QCOMPARE(QApplication::focusWidget(), d.btnOk);
        QTest::keyClick(d.btnOk, Qt::Key_Return);  // Enter on Ok confirms
        QCOMPARE(d.result(), int(QDialog::Accepted));

        TConfirmaSaida esc(QStringLiteral("Integrador Vesko"), QStringLiteral("Vesko"));
        esc.show();
        QTest::keyClicks(esc.edtConfirmo, "confirmo");
        QTest::keyClick(esc.edtConfirmo, Qt::Key_Escape);
        QCOMPARE(esc.result(), int(QDialog::Rejected));
        QVERIFY(!esc.isVisible());
    }
};

QTEST_MAIN(BandejaTest)
#include "BandejaTest.moc"
