// The audit viewer on the offscreen platform.
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMouseEvent>
#include <QLabel>
#include <QPushButton>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "audit/LogsIntegradorPDVBistrel.h"
#include "audit/ModeloLogs.h"
#include "audit/VisualizacaoDetalhesLog.h"
#include "base/Relogio.h"
#include "platform/DiretorioPrograma.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

using namespace vesko;

class VisualizadorTest : public QObject {
    Q_OBJECT
    QTemporaryDir home;
    QDate hoje = QDate::currentDate();

    void Registrar(const QDate& dia, const QTime& hora, const QString& descricao, int tipo, const QString& excecao,
                   const QString& detalhes) {
        Relogio::Definir([=] { return QDateTime(dia, hora); });
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(descricao, "Importação", detalhes, excecao,
                                                             static_cast<TTipoAuditoria>(tipo));
        Relogio::Definir({});
    }
    static void Mover(QWidget* w, const QPoint& p) {
        QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    static QString Celula(const TfrmLogsIntegradorPDVBistrel& f, int linha, int coluna) {
        return f.grdLogs->model()->index(linha, coluna).data().toString();
    }

    static void Sair(QWidget* w) {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(w, &e);
    }
    static void Capturar(QWidget& w, const QString& nome) {
        const QString pasta = qEnvironmentVariable("VESKO_CAPTURAS");
        if (!pasta.isEmpty() && QDir().mkpath(pasta)) w.grab().save(pasta + "/" + nome + ".png");
    }
    // Pixels of the filter arrow's grey inside the button area of `secao`.
    static int PixelsSeta(TCabecalhoLogs* h, int secao) {
        const QImage img = h->grab().toImage();
        const QRect b = h->BotaoFiltro(secao);
        int n = 0;
        for (int y = b.top(); y <= b.bottom(); ++y)
            for (int x = b.left(); x <= b.right(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (qAbs(c.red() - 110) < 8 && qAbs(c.green() - 110) < 8 && qAbs(c.blue() - 110) < 8) ++n;
            }
        return n;
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        DefinirDiretorioPrograma(home.path());
        TConfigsIntegradorPDVBistrel c;
        c.SetNumeroDiasBackupLogs(3);
        c.Gravar();
        // Written out of order on purpose: today first, then three days ago.
        Registrar(hoje, QTime(9, 0, 0), "Importação realizada com sucesso!", 2, "", "Arquivos importados:\r\n");
        Registrar(hoje, QTime(9, 5, 0), "Tipo estranho", 5, "", "");
        Registrar(hoje.addDays(-3), QTime(18, 30, 0), "Erro na execução de query.", 0, "EDatabaseError",
                  "Ocorreu o erro \"x\" ao executar a seguinte query:\r\n\r\nSELECT 1");
        Registrar(hoje.addDays(-3), QTime(18, 31, 0), "Arquivos não exportados para a retaguarda", 1, "", "aviso");
        Registrar(hoje.addDays(-4), QTime(1, 0, 0), "Antigo demais", 2, "", "");  // beyond NumeroDiasBackupLogs
    }

    void listsTheLastDaysOldestFirstWithTheirTexts() {
        TfrmLogsIntegradorPDVBistrel f;
        f.show();
        QCOMPARE(f.windowTitle(), QStringLiteral("Logs - Integrador Dovrahelm Vesko"));
        QCOMPARE(f.size(), QSize(884, 461));
        QCOMPARE(f.grdLogs->model()->rowCount(), 4);
        QCOMPARE(Celula(f, 0, colTipoLog), QStringLiteral("Erro"));
        QCOMPARE(Celula(f, 0, colData), hoje.addDays(-3).toString("dd/MM/yyyy"));
        QCOMPARE(Celula(f, 0, colHora), QStringLiteral("18:30:00"));
        QCOMPARE(Celula(f, 1, colTipoLog), QStringLiteral("Aviso"));
        QCOMPARE(Celula(f, 2, colTipoLog), QStringLiteral("Informação"));
        QCOMPARE(Celula(f, 3, colTipoLog), QStringLiteral("Informação"));  // type 5
        QCOMPARE(Celula(f, 3, colDetalhes), QStringLiteral("Detalhes..."));
        QStringList cabecalhos;
        for (int c = 0; c < kColunasLogs; ++c) cabecalhos << f.grdLogs->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(cabecalhos, QStringList({"Tipo do log", "Tipo de integração", "Data ocorrência", "Hora Ocorrência",
                                          "Descrição curta", ""}));
        QVERIFY(f.Avisos().isEmpty());
    }

    void headerClickSortsAcrossDaysAndTheDetailsColumnDoesNot() {
        TfrmLogsIntegradorPDVBistrel f;
        f.show();
        QHeaderView* h = f.grdLogs->horizontalHeader();
        auto clicar = [&](int secao) {
            const QPoint p(h->sectionViewportPosition(secao) + 10, h->height() / 2);
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, p);
        };
        clicar(colData);  // ascending
        QCOMPARE(Celula(f, 0, colData), hoje.addDays(-3).toString("dd/MM/yyyy"));
        clicar(colData);  // descending: today's rows first
        QCOMPARE(Celula(f, 0, colData), hoje.toString("dd/MM/yyyy"));
        clicar(colDescricao);
        QCOMPARE(Celula(f, 0, colDescricao), QStringLiteral("Arquivos não exportados para a retaguarda"));
        clicar(colDetalhes);  // no sorting by the link column
        QCOMPARE(Celula(f, 0, colDescricao), QStringLiteral("Arquivos não exportados para a retaguarda"));
    }

    void headerCaptionsFitLeftAlignedAndTheColumnsKeepTheirWidths() {
        TfrmLogsIntegradorPDVBistrel f;
        f.show();
        TCabecalhoLogs* h = f.cabecalho;
        QVERIFY2(h->font().pointSizeF() >= 8 && h->font().pointSizeF() <= 9, qPrintable(h->font().toString()));
        qInfo("header font: %s", qPrintable(h->font().toString()));
        const QFontMetrics m(h->font());
        for (int c = 0; c < colDetalhes; ++c) {
            const QString legenda = h->model()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(m.horizontalAdvance(legenda) <= h->EspacoLegenda(c, false), qPrintable(legenda));
        }
        QCOMPARE(h->defaultAlignment(), Qt::AlignLeft | Qt::AlignVCenter);
        // The design's widths 79, 113, 98, 102, 320 and 62, in proportion to the grid.
        const int largura = f.grdLogs->viewport()->width();
        const int desenho[] = {79, 113, 98, 102, 320};
        int soma = 0;
        for (int c = 0; c < kColunasLogs; ++c) soma += h->sectionSize(c);
        QCOMPARE(soma, largura);
        for (int c = 0; c < colDetalhes; ++c) QCOMPARE(h->sectionSize(c), desenho[c] * largura / 774);
        Capturar(f, "visualizador");
    }

    void filterButtonShowsOnlyWhileHoveredOrActiveAndSortingLeavesTheCaptionWhole() {
        TfrmLogsIntegradorPDVBistrel f;
        f.show();
        TCabecalhoLogs* h = f.cabecalho;
        for (int c = 0; c < kColunasLogs; ++c) QVERIFY(!h->BotaoFiltroVisivel(c));
        const int semSeta = PixelsSeta(h, colHora);  // the section's own border may share the grey
        Mover(h->viewport(), QPoint(h->sectionViewportPosition(colHora) + 5, 10));
        QVERIFY(h->BotaoFiltroVisivel(colHora));
        QVERIFY(!h->BotaoFiltroVisivel(colData));
        QVERIFY2(PixelsSeta(h, colHora) > semSeta + 10, qPrintable(QString::number(PixelsSeta(h, colHora))));
        Capturar(*h, "cabecalho-sob-mouse");
        Sair(h->viewport());
        QVERIFY(!h->BotaoFiltroVisivel(colHora));
        QCOMPARE(PixelsSeta(h, colHora), semSeta);
        h->DefinirFiltroAtivo(colTipoLog, true);  // an active filter keeps its button
        QVERIFY(h->BotaoFiltroVisivel(colTipoLog));
        h->DefinirFiltroAtivo(colTipoLog, false);
        QVERIFY(!h->BotaoFiltroVisivel(colTipoLog));

        // The sort arrow does not cover the caption: below the header's top
        // rows, the section looks the same sorted and unsorted.
        const QRect secao(h->sectionViewportPosition(colData), 6, h->sectionSize(colData), h->height() - 6);
        const QImage antes = h->grab(secao).toImage();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(secao.left() + 10, h->height() / 2));
        Sair(h->viewport());
        QCOMPARE(h->sortIndicatorSection(), int(colData));
        QCOMPARE(h->grab(secao).toImage(), antes);
        Capturar(*h, "cabecalho-ordenado");
    }

    void columnFilterIsCaseInsensitiveAndOffersTheColumnsValues() {
        TfrmLogsIntegradorPDVBistrel f;
        f.show();
        QCOMPARE(f.filtro->ValoresColuna(colTipoLog), QStringList({"Aviso", "Erro", "Informação"}));
        f.filtro->DefinirFiltro(colTipoLog, "informação");
        QCOMPARE(f.grdLogs->model()->rowCount(), 2);
        f.filtro->DefinirFiltro(colTipoLog, "");
        QCOMPARE(f.grdLogs->model()->rowCount(), 4);
    }

    void detailsWindowShowsTheTrimmedTextAndTheRightLabel() {
        TfrmLogsIntegradorPDVBistrel f;
        f.show();
        QString rotulo, texto, titulo;
        f.AntesDeMostrarDetalhes = [&](QDialog& d) {
            auto& det = static_cast<TfrmVisualizaDetalhesLog&>(d);
            rotulo = det.lblDetalhesException->text();
            texto = det.MemoDetalhesAuditoria->toPlainText();
            titulo = det.windowTitle();
            QCOMPARE(det.size(), QSize(784, 311));
            QTimer::singleShot(0, &d, &QDialog::accept);
        };
        // A click on the link cell of the error row.
        const QRect celula = f.grdLogs->visualRect(f.grdLogs->model()->index(0, colDetalhes));
        Mover(f.grdLogs->viewport(), celula.center());
        QCOMPARE(f.grdLogs->viewport()->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(f.grdLogs->viewport(), Qt::LeftButton, {}, celula.center());
        QCOMPARE(titulo, QStringLiteral("Visualização de detalhes da auditoria"));
        QCOMPARE(rotulo, QStringLiteral("Detalhes da exceção ocorrida - EDatabaseError"));
        QCOMPARE(texto, QStringLiteral("Ocorreu o erro \"x\" ao executar a seguinte query:\n\nSELECT 1"));

        f.ExibirDetalhes(2);
        QCOMPARE(rotulo, QStringLiteral("Detalhes da auditoria"));
        QCOMPARE(texto, QStringLiteral("Arquivos importados:"));  // without the stored line break

        const QRect outra = f.grdLogs->visualRect(f.grdLogs->model()->index(0, colDescricao));
        Mover(f.grdLogs->viewport(), outra.center());
        QVERIFY(f.grdLogs->viewport()->cursor().shape() != Qt::PointingHandCursor);
    }

    void labelBeforeTheTypeIsKnown() {
        TfrmVisualizaDetalhesLog erro(nullptr, 0);
        QCOMPARE(erro.lblDetalhesException->text(), QStringLiteral("Detalhes da exceção ocorrida - TExceptionClassName"));
        TfrmVisualizaDetalhesLog aviso(nullptr, 1);
        QCOMPARE(aviso.lblDetalhesException->text(), QStringLiteral("Detalhes da auditoria"));
        QVERIFY(aviso.MemoDetalhesAuditoria->isReadOnly());
    }

    void enterMovesTheFocusAndEscapeCloses() {
        TfrmVisualizaDetalhesLog d(nullptr, 1);
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.MemoDetalhesAuditoria->setFocus();
        QTest::keyClick(&d, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(d.btnOK));
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
    }

    void theRecordsTheTrailCouldNotTakeArePointedOutInRed() {
        const QString arquivo = home.path() + "/AuditoriaNaoGravada.txt";
        {
            TfrmLogsIntegradorPDVBistrel f;
            f.show();
            QVERIFY(f.lblAuditoriaNaoGravada->isHidden());
        }
        QFile a(arquivo);
        QVERIFY(a.open(QIODevice::WriteOnly));
        a.write("07/12/2026 10:15:30 | Exportação | Erro | um\r\n07/12/2026 10:16:30 | Exportação | Erro | dois\r\n"
                "07/12/2026 10:17:30 | Exportação | Erro | três\r\n");
        a.close();
        TfrmLogsIntegradorPDVBistrel f;
        f.show();
        QVERIFY(f.lblAuditoriaNaoGravada->isVisible());
        QCOMPARE(f.lblAuditoriaNaoGravada->text(),
                 "Atenção: 3 registros de auditoria não puderam ser gravados e estão no arquivo " + arquivo +
                     " (pode ser apagado depois de lido).");
        QCOMPARE(f.lblAuditoriaNaoGravada->toolTip(), arquivo);
        QCOMPARE(f.grdLogs->model()->rowCount(), 4);  // the grid as before
        // Within the window, clear of the grid and the OK button.
        const QRect r = f.lblAuditoriaNaoGravada->geometry();
        QVERIFY(f.rect().contains(r));
        QVERIFY(!r.intersects(f.grdLogs->geometry()));
        QVERIFY(!r.intersects(f.btnOK->geometry()));
        Capturar(f, "auditoria-nao-gravada");
        QFile::remove(arquivo);
    }

    void anUnreadableDayIsSkippedAndNamedOnce() {
        const QString arquivo = TControleLogIntegradorPDVBistrel::GetArquivoAuditoria(hoje.addDays(-3));
        QFile::rename(arquivo, arquivo + ".bak");
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("corrompido");
        f.close();
        TfrmLogsIntegradorPDVBistrel frm;
        QStringList avisos;
        frm.MostrarAviso = [&](const QString& t) { avisos << t; };
        frm.show();
        QCOMPARE(frm.grdLogs->model()->rowCount(), 2);
        QCOMPARE(avisos, QStringList({"Não foi possível ler as auditorias do dia " +
                                      hoje.addDays(-3).toString("dd/MM/yyyy") + "."}));
        QFile::remove(arquivo);
        QFile::rename(arquivo + ".bak", arquivo);
    }
};

QTEST_MAIN(VisualizadorTest)
#include "VisualizadorTest.moc"
