// The settings dialog on the offscreen platform, with a real settings file in
// a temporary program directory, and the tray's entry that opens it.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "TestSupport.h"
#include "app/ConfiguracoesIntegradorPDVBistrel.h"
#include "app/EditoresConfiguracoes.h"
#include "app/Principal.h"
#include "platform/DiretorioPrograma.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

using namespace vesko;
using teste::GravarArquivo;
using teste::LerArquivo;

namespace {

// Answers every message box that comes up, in order, with the queued buttons
// (OK, or No, when nothing is queued) and keeps their texts.
class RespostasCaixas : public QObject {
public:
    QStringList textos;
    QList<QMessageBox::StandardButton> respostas;

    RespostasCaixas() {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] { Verificar(); });
        m_timer.start();
    }

private:
    void Verificar() {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!caixa || !caixa->isVisible()) return;
        textos << caixa->text();
        QAbstractButton* botao = respostas.isEmpty() ? nullptr : caixa->button(respostas.takeFirst());
        if (!botao) botao = caixa->button(QMessageBox::Ok);
        if (!botao) botao = caixa->button(QMessageBox::No);
        botao->click();
    }
    QTimer m_timer;
};

// Runs `acao` on the next modal window of type T, once it is up.
template <typename T>
void QuandoAparecer(std::function<void(T*)> acao, int tentativas = 2000) {
    QTimer::singleShot(5, [acao, tentativas] {
        auto* janela = qobject_cast<T*>(QApplication::activeModalWidget());
        if (janela && janela->isVisible()) return acao(janela);
        if (tentativas > 0) QuandoAparecer<T>(acao, tentativas - 1);
    });
}

const QString kMensagem1 = QStringLiteral("Por favor informe um diretório de importação válido.");
const QString kMensagem2 = QStringLiteral("Por favor informe um diretório de exportação válido.");
const QString kMensagem3 = QStringLiteral("Por favor informe um diretório de base de dados válido.");
const QString kMensagem4 = QStringLiteral(
    "Os diretórios de importação, exportação e da base de dados devem ser diferentes. Por favor verifique.");
const QString kMensagem5 =
    QStringLiteral("Os tempos configurados para importação e exportação ser diferentes. Por favor verifique.");
const QString kPergunta = QStringLiteral("O diretório informado não existe. Deseja criá-lo?");

}  // namespace

class ConfiguracoesTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<teste::PastaTemporaria> pasta;
    std::unique_ptr<RespostasCaixas> caixas;
    QString home, imp, exp, base;

    QString Ini() const { return TConfigsIntegradorPDVBistrel::GetNomeArquivo(); }

    QString NovaPasta(const QString& nome) const {
        const QString caminho = pasta->Arquivo(nome);
        QDir().mkpath(caminho);
        return caminho;
    }

    void Abrir(TfrmConfigsIntegradorPDVBistrel& d) {
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
    }

    // A desktop gives the activation back to the dialog when a message box
    // closes; the offscreen platform leaves that to us.
    static void Reativar(QWidget* janela) {
        QCoreApplication::processEvents();
        janela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(janela));
    }

    // Moves the focus on with Tab and lets a queued leave handler run.
    static void Sair(QWidget* w) {
        QTest::keyClick(w, Qt::Key_Tab);
        Reativar(w->window());
    }

    static void Digitar(TEdicaoNumero* e, const char* texto) {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, texto);
    }

    void PreencherValidos(TfrmConfigsIntegradorPDVBistrel& d) {
        d.edtDiretorioImportacao->setText(imp);
        d.edtDiretorioExportacao->setText(exp);
        d.edtDiretorioBaseDados->setText(base);
        d.edtIntervaloImportacao->setValue(8);
        d.edtIntervaloExportacao->setValue(5);
    }

    // OK pressed; the first message shown, empty when none.
    QString Ok(TfrmConfigsIntegradorPDVBistrel& d) {
        caixas->textos.clear();
        d.btnOK->click();
        if (d.isVisible()) Reativar(&d);
        return caixas->textos.value(0);
    }

private slots:
    void init() {
        pasta = std::make_unique<teste::PastaTemporaria>();
        home = NovaPasta(QStringLiteral("programa"));
        imp = NovaPasta(QStringLiteral("entrada"));
        exp = NovaPasta(QStringLiteral("saida"));
        base = NovaPasta(QStringLiteral("banco"));
        DefinirDiretorioPrograma(home);
        caixas = std::make_unique<RespostasCaixas>();
    }
    void cleanup() {
        caixas.reset();
        DefinirDiretorioPrograma(QString());
        pasta.reset();
    }

    void showsTheFileInItsControlsInTheirOrderAndNothingClipped() {
        GravarArquivo(Ini(), QStringLiteral("[CONFIGS]\nDiretorioImportacao=%1\nDiretorioExportacao=%2\n"
                                            "IntervaloImportacao=17\nIntervaloExportacao=23\n"
                                            "DiretorioBaseDeDados=%3/\nNumeroDiasBackupLogs=12\n")
                                 .arg(imp, exp, base)
                                 .toUtf8());
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        QCOMPARE(d.size(), QSize(351, 282));
        QCOMPARE(d.edtDiretorioImportacao->text(), imp);
        QCOMPARE(d.edtDiretorioExportacao->text(), exp);
        QCOMPARE(d.edtDiretorioBaseDados->text(), base + "/");  // as stored
        QCOMPARE(d.edtIntervaloImportacao->value(), 17);
        QCOMPARE(d.edtIntervaloExportacao->value(), 23);
        QCOMPARE(d.edtNumeroDiasBackup->value(), 12);

        // Each caption above (or before) the editor it describes.
        QCOMPARE(d.lblDiretorioImportacao->text(), QStringLiteral("Diretório de exportação (dados de saída do Vesko)"));
        QVERIFY(d.lblDiretorioImportacao->geometry().bottom() < d.edtDiretorioExportacao->y());
        QCOMPARE(d.lblDiretorioExportacao->text(), QStringLiteral("Diretório de importação (dados de entrada do Vesko)"));
        QVERIFY(d.lblDiretorioExportacao->geometry().bottom() < d.edtDiretorioImportacao->y());
        QCOMPARE(d.lblDiretorioBaseDados->text(), QStringLiteral("Diretório da base de dados do Vesko"));
        QCOMPARE(d.lblTempoImportacao->text(), QStringLiteral("Intervalo para importação automática (minutos): "));
        QCOMPARE(d.lblTempoExportacao->text(), QStringLiteral("Intervalo para exportação automática (minutos): "));
        QCOMPARE(d.lblNumeroDiasBackup->text(), QStringLiteral("Manter os dados das auditorias dos últimos"));
        QCOMPARE(d.lblDias->text(), QStringLiteral("dias"));
        QCOMPARE(d.btnOK->text(), QStringLiteral("&OK"));
        QCOMPARE(d.btnCancelar->text(), QStringLiteral("&Cancelar"));
        QCOMPARE(d.edtIntervaloImportacao->alignment() & Qt::AlignRight, Qt::AlignRight);

        for (QLabel* l : d.findChildren<QLabel*>()) {
            QVERIFY2(l->font().pointSizeF() >= TfrmConfigsIntegradorPDVBistrel::kMenorTamanhoFonte,
                     qPrintable(l->objectName()));
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text().trimmed()) <= l->width(), qPrintable(l->objectName()));
            QVERIFY2(l->fontMetrics().height() <= l->height() + 2, qPrintable(l->objectName()));
            QVERIFY2(d.rect().contains(l->geometry()), qPrintable(l->objectName()));
        }
        for (QWidget* w : std::initializer_list<QWidget*>{d.edtIntervaloImportacao, d.edtIntervaloExportacao,
                                                          d.edtNumeroDiasBackup, d.btnOK, d.btnCancelar})
            QVERIFY2(d.rect().contains(w->geometry()), qPrintable(w->objectName()));

        // Enter walks the tab order.
        QStringList ordem;
        for (int i = 0; i < 8; ++i) {
            ordem << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(ordem, QStringList({"edtDiretorioExportacao", "edtDiretorioImportacao", "edtDiretorioBaseDados",
                                     "edtIntervaloImportacao", "edtIntervaloExportacao", "edtNumeroDiasBackup",
                                     "btnOK", "btnCancelar"}));
        QVERIFY(d.isVisible());  // Enter on the buttons pressed neither
        QVERIFY(caixas->textos.isEmpty());

        const QString capturas = qEnvironmentVariable("VESKO_CAPTURAS");
        if (!capturas.isEmpty()) {
            QDir().mkpath(capturas);
            d.grab().save(capturas + "/dialogo-configuracoes.png");
        }
    }

    void cancelEscapeAndTheCloseBoxLeaveTheFileAsItWas() {
        const QByteArray original = "; à mão\r\n[CONFIGS]\r\nIntervaloImportacao=abc\r\n";
        GravarArquivo(Ini(), original);
        for (int modo = 0; modo < 3; ++modo) {
            TfrmConfigsIntegradorPDVBistrel d;
            Abrir(d);
            PreencherValidos(d);
            if (modo == 0) d.btnCancelar->click();
            if (modo == 1) QTest::keyClick(d.edtDiretorioImportacao, Qt::Key_Escape);
            if (modo == 2) d.close();
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), int(QDialog::Rejected));
            QCOMPARE(LerArquivo(Ini()), original);
        }
        QVERIFY(caixas->textos.isEmpty());
    }

    void checksRunInOrderAndPutTheFocusWhereTheProblemIs() {
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        QCOMPARE(Ok(d), kMensagem1);
        QCOMPARE(d.focusWidget(), d.edtDiretorioImportacao);
        d.edtDiretorioImportacao->setText(imp);
        QCOMPARE(Ok(d), kMensagem2);
        QCOMPARE(d.focusWidget(), d.edtDiretorioExportacao);
        d.edtDiretorioExportacao->setText(imp);  // same folder, but check 3 comes first
        QCOMPARE(Ok(d), kMensagem3);
        QCOMPARE(d.focusWidget(), d.edtDiretorioBaseDados);
        d.edtDiretorioBaseDados->setText(base);
        QCOMPARE(Ok(d), kMensagem4);
        QCOMPARE(d.focusWidget(), d.edtDiretorioExportacao);

        // Two existing folders whose names differ only in case.
        const QString pasta1 = NovaPasta("Dados"), pasta2 = NovaPasta("DADOS");
        d.edtDiretorioImportacao->setText(pasta1);
        d.edtDiretorioExportacao->setText(pasta2);
        QCOMPARE(Ok(d), kMensagem4);
        d.edtDiretorioExportacao->setText(exp);
        d.edtDiretorioBaseDados->setText(pasta2);  // import against database too
        QCOMPARE(Ok(d), kMensagem4);
        d.edtDiretorioImportacao->setText(imp);
        d.edtDiretorioExportacao->setText(pasta1);  // export against database
        QCOMPARE(Ok(d), kMensagem4);
        d.edtDiretorioExportacao->setText(exp);
        d.edtDiretorioBaseDados->setText(base);

        d.edtIntervaloImportacao->setValue(5);
        d.edtIntervaloExportacao->setValue(5);
        QCOMPARE(Ok(d), kMensagem5);
        QCOMPARE(d.focusWidget(), d.edtIntervaloImportacao);
        QVERIFY(d.isVisible());
        QVERIFY(!QFileInfo::exists(Ini()));  // nothing written while a check fails

        d.edtIntervaloExportacao->setValue(6);
        QCOMPARE(Ok(d), QString());
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void aFolderCreatedWithATrailingSpaceIsStillTheSameFolder() {
        const QString x = NovaPasta("X");
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        PreencherValidos(d);
        d.edtDiretorioImportacao->setText(x);
        d.edtDiretorioExportacao->setFocus();
        d.edtDiretorioExportacao->setText(x + " ");
        caixas->respostas << QMessageBox::Yes;
        Sair(d.edtDiretorioExportacao);
        QCOMPARE(caixas->textos, QStringList{kPergunta});
        QVERIFY(QFileInfo(x + " ").isDir());
        QCOMPARE(Ok(d), kMensagem4);
        QCOMPARE(d.focusWidget(), d.edtDiretorioExportacao);
        // Saved with its trailing space, the folder reads back as the one created.
        d.edtDiretorioImportacao->setText(imp);
        QCOMPARE(Ok(d), QString());
        QCOMPARE(TConfigsIntegradorPDVBistrel().DiretorioExportacao(), x + " ");
    }

    void leavingAMissingDirectoryOffersToCreateIt() {
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        PreencherValidos(d);
        const QString nao = pasta->Arquivo("nao/existe");
        d.edtDiretorioImportacao->setFocus();
        d.edtDiretorioImportacao->setText(nao);
        caixas->respostas << QMessageBox::No;
        Sair(d.edtDiretorioImportacao);
        QCOMPARE(caixas->textos, QStringList{kPergunta});
        QCOMPARE(d.edtDiretorioImportacao->text(), nao);
        QVERIFY(!QFileInfo::exists(nao));
        QCOMPARE(d.focusWidget(), d.edtDiretorioBaseDados);
        QCOMPARE(Ok(d), kMensagem1);  // OK fails at that directory's check
        QCOMPARE(d.focusWidget(), d.edtDiretorioImportacao);
        d.edtDiretorioImportacao->setText(imp);

        // Yes: created with every missing parent.
        const QString novo = pasta->Arquivo("a/b/c");
        d.edtDiretorioBaseDados->setFocus();
        d.edtDiretorioBaseDados->setText(novo);
        caixas->textos.clear();
        caixas->respostas << QMessageBox::Yes;
        Sair(d.edtDiretorioBaseDados);
        QCOMPARE(caixas->textos, QStringList{kPergunta});
        QVERIFY(QFileInfo(novo).isDir());

        // A folder that cannot be made (its parent is a file): warning, focus back.
        GravarArquivo(pasta->Arquivo("arquivo"), "x");
        const QString impossivel = pasta->Arquivo("arquivo/sub");
        d.edtDiretorioExportacao->setFocus();
        d.edtDiretorioExportacao->setText(impossivel);
        caixas->textos.clear();
        caixas->respostas << QMessageBox::Yes;
        Sair(d.edtDiretorioExportacao);
        QCOMPARE(caixas->textos, QStringList({kPergunta, QStringLiteral("Não foi possível criar o diretório \"") +
                                                             impossivel +
                                                             "\". Por favor, escolha um diretório válido."}));
        QCOMPARE(d.focusWidget(), d.edtDiretorioExportacao);

        // Blank and existing texts are left alone.
        caixas->textos.clear();
        d.edtDiretorioExportacao->setText("   ");
        Sair(d.edtDiretorioExportacao);
        d.edtDiretorioImportacao->setFocus();
        d.edtDiretorioImportacao->setText(imp);
        Sair(d.edtDiretorioImportacao);
        QVERIFY(caixas->textos.isEmpty());
    }

    void onlyAMoveToAnotherControlIsALeave() {
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        const QString nao1 = pasta->Arquivo("nao1"), nao2 = pasta->Arquivo("nao2");
        d.edtDiretorioImportacao->setText(nao2);
        d.edtDiretorioExportacao->setFocus();
        d.edtDiretorioExportacao->setText(nao1);
        // The question about the export folder takes the focus away from the
        // import edit, which also holds a missing folder: one question only.
        Sair(d.edtDiretorioExportacao);
        QCOMPARE(d.focusWidget(), d.edtDiretorioImportacao);
        QCoreApplication::processEvents();
        QCOMPARE(caixas->textos, QStringList{kPergunta});

        // Another window taking the focus is no leave either.
        QLineEdit outra;
        outra.show();
        outra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&outra));
        QCoreApplication::processEvents();
        QCOMPARE(caixas->textos.size(), 1);
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(d.focusWidget(), d.edtDiretorioImportacao);
        Sair(d.edtDiretorioImportacao);  // now it is one
        QCOMPARE(caixas->textos.size(), 2);
    }

    void spinEditsTakeTheirDigitsAndAreCorrectedOnLeaving() {
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        TEdicaoNumero* imp = d.edtIntervaloImportacao;
        Digitar(imp, "999");
        QCOMPARE(imp->text(), QStringLiteral("999"));  // the bounds do not refuse what is typed
        Sair(imp);
        QCOMPARE(imp->value(), 120);
        QCOMPARE(imp->text(), QStringLiteral("120"));

        Digitar(imp, "1234");
        QCOMPARE(imp->text(), QStringLiteral("123"));  // the fourth digit is discarded
        imp->findChild<QLineEdit*>()->deselect();
        imp->findChild<QLineEdit*>()->end(false);
        QTest::keyClicks(imp, "4");
        QCOMPARE(imp->text(), QStringLiteral("123"));
        Digitar(imp, "a+-Z7");
        QCOMPARE(imp->text(), QStringLiteral("7"));  // signs and letters never reach the edit
        Digitar(imp, "0");
        Sair(imp);
        QCOMPARE(imp->value(), 1);  // below the minimum: the minimum
        imp->setFocus();
        imp->findChild<QLineEdit*>()->clear();
        Sair(imp);
        QCOMPARE(imp->value(), 1);  // nothing typed: the minimum

        TEdicaoNumero* dias = d.edtNumeroDiasBackup;
        Digitar(dias, "123");
        QCOMPARE(dias->text(), QStringLiteral("12"));  // two digits for the days
        Digitar(dias, "99");
        Sair(dias);
        QCOMPARE(dias->value(), 30);
        Digitar(dias, "1");
        Sair(dias);
        QCOMPARE(dias->value(), 2);

        // The buttons and arrow keys keep the declared bounds.
        imp->setValue(119);
        imp->stepBy(5);
        QCOMPARE(imp->value(), 120);
        QTest::keyClick(imp, Qt::Key_Up);
        QCOMPARE(imp->value(), 120);
        Digitar(imp, "500");
        QTest::keyClick(imp, Qt::Key_Up);
        QCOMPARE(imp->value(), 120);
        Digitar(imp, "0");
        QTest::keyClick(imp, Qt::Key_Up);
        QCOMPARE(imp->value(), 1);
        dias->setValue(2);
        QTest::keyClick(dias, Qt::Key_Down);
        QCOMPARE(dias->value(), 2);
    }

    void okAppliesTheSpinCorrectionsWithoutALeave() {
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        PreencherValidos(d);
        Digitar(d.edtIntervaloExportacao, "999");
        Digitar(d.edtNumeroDiasBackup, "0");
        Digitar(d.edtIntervaloImportacao, "0");  // the focus stays here: OK by its shortcut
        QCOMPARE(Ok(d), QString());
        QCOMPARE(d.focusWidget(), d.edtIntervaloImportacao);
        const TConfigsIntegradorPDVBistrel lido;
        QCOMPARE(lido.IntervaloImportacao(), 1);
        QCOMPARE(lido.IntervaloExportacao(), 120);
        QCOMPARE(lido.NumeroDiasBackupLogs(), 2);
    }

    void savingWritesTheTextsAsTypedAndKeepsTheRestOfTheFile() {
        const QByteArray original =
            "; feito à mão\r\n[GERAL]\r\nQueryDebug=1\r\n\r\n[CONFIGS]\r\nOutra=valor\r\nIntervaloImportacao=3\r\n"
            "\r\n[BANCO]\r\nServidor=embutido\r\n";
        GravarArquivo(Ini(), original);
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        PreencherValidos(d);
        d.edtDiretorioImportacao->setText(imp + "/");
        d.edtDiretorioExportacao->setText(exp + "/./");
        d.edtIntervaloImportacao->setValue(17);
        d.edtIntervaloExportacao->setValue(23);
        d.edtNumeroDiasBackup->setValue(9);
        QCOMPARE(Ok(d), QString());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        const QByteArray esperado = QStringLiteral(
                                        "; feito à mão\r\n[GERAL]\r\nQueryDebug=1\r\n\r\n[CONFIGS]\r\nOutra=valor\r\n"
                                        "IntervaloImportacao=17\r\nDiretorioImportacao=%1/\r\nDiretorioExportacao=%2/./\r\n"
                                        "IntervaloExportacao=23\r\nDiretorioBaseDeDados=%3\r\nNumeroDiasBackupLogs=9\r\n"
                                        "\r\n[BANCO]\r\nServidor=embutido\r\n")
                                        .arg(imp, exp, base)
                                        .toUtf8();
        QCOMPARE(LerArquivo(Ini()), esperado);
    }

    void aFailedWriteWarnsAndKeepsTheDialogOpen() {
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        PreencherValidos(d);
        // Gone after the dialog opened: no user, root included, can write there.
        QVERIFY(QDir(home).removeRecursively());
        const QString aviso = Ok(d);
        QVERIFY2(aviso.startsWith(QStringLiteral("Não foi possível gravar o arquivo \"") + Ini()), qPrintable(aviso));
        QVERIFY(d.isVisible());
        QVERIFY(!QFileInfo::exists(home));
        QCOMPARE(d.edtDiretorioImportacao->text(), imp);  // what was typed stays for another try
        QVERIFY(QDir().mkpath(home));
        QCOMPARE(Ok(d), QString());
        QCOMPARE(TConfigsIntegradorPDVBistrel().DiretorioImportacao(), imp);
    }

    void folderButtonsOpenTheBrowserWithTheirCaptions() {
        TfrmConfigsIntegradorPDVBistrel d;
        Abrir(d);
        const QString escolhida = NovaPasta("escolhida");
        QString titulo;
        QuandoAparecer<QFileDialog>([&](QFileDialog* f) {
            titulo = f->windowTitle();
            f->setDirectory(escolhida);
            static_cast<QDialog*>(f)->accept();
        });
        d.edtDiretorioImportacao->setFocus();
        QTest::keyClick(d.edtDiretorioImportacao, Qt::Key_F2);
        QCOMPARE(titulo, QStringLiteral("Selecione o diretório de exportação (dados de entrada do Vesko)"));
        QCOMPARE(d.edtDiretorioImportacao->text(), QDir::toNativeSeparators(escolhida));

        d.edtDiretorioExportacao->setText(imp);
        QString inicio;
        QuandoAparecer<QFileDialog>([&](QFileDialog* f) {
            titulo = f->windowTitle();
            inicio = f->directory().absolutePath();
            f->reject();
        });
        d.edtDiretorioExportacao->BotaoPasta->trigger();
        QCOMPARE(titulo, QStringLiteral("Selecione o diretório de importação (dados de saída do Vesko)"));
        QCOMPARE(inicio, QDir(imp).absolutePath());  // starts at the edit's folder
        QCOMPARE(d.edtDiretorioExportacao->text(), imp);  // cancelled: unchanged

        QuandoAparecer<QFileDialog>([&](QFileDialog* f) {
            titulo = f->windowTitle();
            f->reject();
        });
        d.edtDiretorioBaseDados->BotaoPasta->trigger();
        QCOMPARE(titulo, QStringLiteral("Selecione o diretório da base de dados do Vesko"));
        QVERIFY(caixas->textos.isEmpty());
    }

    // ---- the tray ----------------------------------------------------------------

    void trayEntryReArmsTheTimersFromTheFileWhenTheDialogCloses() {
        const QByteArray original = QStringLiteral("[CONFIGS]\nDiretorioImportacao=%1\nDiretorioExportacao=%2\n"
                                                   "DiretorioBaseDeDados=%3\nIntervaloImportacao=7\n"
                                                   "IntervaloExportacao=9\n")
                                        .arg(imp, exp, base)
                                        .toUtf8();
        GravarArquivo(Ini(), original);
        TfrmPrincipal frm;
        bool ocupado = false, iconeVisivel = true;
        QuandoAparecer<TfrmConfigsIntegradorPDVBistrel>([&](TfrmConfigsIntegradorPDVBistrel* d) {
            ocupado = frm.Agendador().Ocupado();
            iconeVisivel = frm.Tray.isVisible();
            d->edtIntervaloImportacao->setValue(60);  // edited, then Esc
            QTest::keyClick(d->edtIntervaloImportacao, Qt::Key_Escape);
        });
        QAction* entrada = frm.PopupMenu.findChild<QAction*>(QStringLiteral("Configuracoes"));
        QVERIFY(entrada);
        entrada->trigger();
        QVERIFY(ocupado);
        QVERIFY(!iconeVisivel);
        QCOMPARE(LerArquivo(Ini()), original);
        QVERIFY(frm.Agendador().TimerImportacao.isActive());
        QCOMPARE(frm.Agendador().TimerImportacao.interval(), 7 * 60000);
        QVERIFY(frm.Agendador().TimerExportacao.isActive());
        QCOMPARE(frm.Agendador().TimerExportacao.interval(), 9 * 60000);
        QVERIFY(!frm.Agendador().Ocupado());

        // Saved: the new intervals take effect at once.
        QuandoAparecer<TfrmConfigsIntegradorPDVBistrel>([&](TfrmConfigsIntegradorPDVBistrel* d) {
            d->edtIntervaloImportacao->setValue(11);
            d->edtIntervaloExportacao->setValue(13);
            d->btnOK->click();
        });
        entrada->trigger();
        QCOMPARE(frm.Agendador().TimerImportacao.interval(), 11 * 60000);
        QCOMPARE(frm.Agendador().TimerExportacao.interval(), 13 * 60000);
        QVERIFY(frm.Agendador().TimerExportacao.isActive());
        QVERIFY(caixas->textos.isEmpty());
    }

    void startUpQuestionAnsweredYesOpensTheDialogAndTheTimersWait() {
        TfrmPrincipal frm;
        caixas->respostas << QMessageBox::Yes;
        bool aberto = false;
        QuandoAparecer<TfrmConfigsIntegradorPDVBistrel>([&](TfrmConfigsIntegradorPDVBistrel* d) {
            aberto = true;
            PreencherValidos(*d);
            d->btnOK->click();
        });
        frm.FormCreate();
        QVERIFY(aberto);
        QCOMPARE(caixas->textos.size(), 1);
        QCOMPARE(TConfigsIntegradorPDVBistrel().DiretorioBaseDeDados(), base);
        QVERIFY(!frm.Agendador().TimerImportacao.isActive());  // until the dialog is opened from the menu
        QVERIFY(!frm.Agendador().TimerExportacao.isActive());
        QVERIFY(!frm.Agendador().Ocupado());
    }
};

QTEST_MAIN(ConfiguracoesTest)
#include "ConfiguracoesTest.moc"
