#include "audit/LogsIntegradorPDVBistrel.h"

#include <QKeyEvent>

#include "audit/JanelaDialogo.h"
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

#include "audit/AuditoriaNaoGravada.h"
#include "audit/JanelaProgresso.h"
#include "audit/ModeloLogs.h"
#include "audit/VisualizacaoDetalhesLog.h"
#include "base/Relogio.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

namespace vesko {
namespace {
constexpr int kLargurasDesenho[kColunasLogs] = {79, 113, 98, 102, 320, 62};
}

TfrmLogsIntegradorPDVBistrel::TfrmLogsIntegradorPDVBistrel(QWidget* parent)
    : QDialog(parent, kBordaDialogo) {
    PrepararJanelaDialogo(*this, QStringLiteral("frmLogsIntegradorPDVBistrel"),
                          QStringLiteral("Logs - Integrador Dovrahelm Vesko"), QSize(884, 461));

    lblTitulo = new QLabel(QStringLiteral("Auditorias registradas durante a integração"), this);
    lblTitulo->setGeometry(10, 10, 864, 16);

    cdsLogs = new TModeloLogs(this);
    filtro = new TFiltroLogs(this);
    filtro->setSourceModel(cdsLogs);
    filtro->setSortRole(TModeloLogs::PapelOrdenacao);
    filtro->setSortCaseSensitivity(Qt::CaseInsensitive);

    grdLogs = new QTableView(this);
    grdLogs->setObjectName(QStringLiteral("grdLogs"));
    grdLogs->setGeometry(10, 27, 864, 389);
    cabecalho = new TCabecalhoLogs(grdLogs);
    grdLogs->setHorizontalHeader(cabecalho);
    grdLogs->setModel(filtro);
    grdLogs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLogs->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLogs->setSelectionMode(QAbstractItemView::SingleSelection);
    grdLogs->setShowGrid(false);
    grdLogs->setAlternatingRowColors(true);
    grdLogs->setWordWrap(false);
    grdLogs->verticalHeader()->hide();
    grdLogs->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdLogs->verticalHeader()->setDefaultSectionSize(25);
    grdLogs->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    cabecalho->setFixedHeight(25);
    cabecalho->setSectionResizeMode(QHeaderView::Fixed);
    cabecalho->setSortIndicatorShown(false);
    grdLogs->setStyleSheet(QStringLiteral(
        "QTableView { background: palette(button); alternate-background-color: rgb(250, 250, 250); color: black;"
        " selection-background-color: rgb(148, 178, 57); selection-color: white; }"));
    grdLogs->viewport()->setMouseTracking(true);
    grdLogs->viewport()->installEventFilter(this);

    lblAuditoriaNaoGravada = new QLabel(this);
    lblAuditoriaNaoGravada->setObjectName(QStringLiteral("lblAuditoriaNaoGravada"));
    lblAuditoriaNaoGravada->setGeometry(10, 418, 795, 40);
    lblAuditoriaNaoGravada->setWordWrap(true);
    lblAuditoriaNaoGravada->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblAuditoriaNaoGravada->setStyleSheet(QStringLiteral("QLabel { color: rgb(192, 0, 0); }"));
    lblAuditoriaNaoGravada->hide();

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(813, 426, 61, 25);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cabecalho, &QHeaderView::sectionClicked, this,
            &TfrmLogsIntegradorPDVBistrel::cxColumnLogsDBTableViewHintErroHeaderClick);
    connect(cabecalho, &TCabecalhoLogs::FiltroPedido, this, &TfrmLogsIntegradorPDVBistrel::AbrirFiltro);
    connect(grdLogs, &QTableView::clicked, this, &TfrmLogsIntegradorPDVBistrel::grdLogsDBTableViewCellClick);

    MostrarAviso = [this](const QString& texto) {
        QMessageBox::warning(this, QStringLiteral("Aviso"), texto, QMessageBox::Ok);
    };
    AjustarColunas();
}

void TfrmLogsIntegradorPDVBistrel::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    if (!m_carregado) FormShow();
}

void TfrmLogsIntegradorPDVBistrel::FormShow() {
    m_carregado = true;
    cdsLogs->Esvaziar();
    m_avisos.clear();
    {
        TJanelaProgresso progresso(QStringLiteral("Processando auditorias..."), this);
        progresso.Mostrar();
        const int dias = TConfigsIntegradorPDVBistrel().NumeroDiasBackupLogs();
        const QDate hoje = Relogio::Hoje();
        for (int n = dias; n >= 0; --n) CarregarAuditorias(hoje.addDays(-n));
    }
    MostrarAuditoriaNaoGravada();
    if (!m_avisos.isEmpty() && MostrarAviso) MostrarAviso(m_avisos.join(QLatin1Char('\n')));
}

void TfrmLogsIntegradorPDVBistrel::CarregarAuditorias(const QDate& dia) {
    const TDiaAuditoria d = LerAuditoriasDoDia(dia);
    if (!d.Legivel) m_avisos << AvisoDiaIlegivel(dia);
    cdsLogs->CopiarAuditorias(d.Registros);
}

void TfrmLogsIntegradorPDVBistrel::MostrarAuditoriaNaoGravada() {
    const QString aviso = AvisoAuditoriaNaoGravada();
    lblAuditoriaNaoGravada->setText(aviso);
    lblAuditoriaNaoGravada->setToolTip(aviso.isEmpty() ? QString() : ArquivoAuditoriaNaoGravada());
    lblAuditoriaNaoGravada->setVisible(!aviso.isEmpty());
}

void TfrmLogsIntegradorPDVBistrel::ExibirDetalhes(int linhaVisivel) {
    const QModelIndex origem = filtro->mapToSource(filtro->index(linhaVisivel, 0));
    if (!origem.isValid()) return;
    const TRegistroAuditoria r = cdsLogs->Registro(origem.row());
    TfrmVisualizaDetalhesLog detalhes(this, r.TipoAuditoria);
    QString texto;
    {
        TJanelaProgresso progresso(QStringLiteral("Coletando detalhes do Log..."), this);
        progresso.Mostrar();
        texto = GetDetalhes(r.DataOcorrencia, QString::number(r.IdAuditoria));
    }
    detalhes.SetTipoExcecao(r.TipoExcecao);
    detalhes.SetDetalhes(texto);
    if (AntesDeMostrarDetalhes) AntesDeMostrarDetalhes(detalhes);
    detalhes.exec();
}

void TfrmLogsIntegradorPDVBistrel::grdLogsDBTableViewCellClick(const QModelIndex& indice) {
    if (indice.isValid() && indice.column() == colDetalhes) ExibirDetalhes(indice.row());
}

void TfrmLogsIntegradorPDVBistrel::cxColumnLogsDBTableViewHintErroHeaderClick(int secao) {
    if (secao < 0 || secao >= colDetalhes) return;  // the details column does not sort
    m_ordem = (secao == m_colunaOrdem && m_ordem == Qt::AscendingOrder) ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_colunaOrdem = secao;
    filtro->sort(secao, m_ordem);
    cabecalho->setSortIndicatorShown(true);
    cabecalho->setSortIndicator(secao, m_ordem);
}

void TfrmLogsIntegradorPDVBistrel::AbrirFiltro(int secao, const QPoint& posicao) {
    QMenu menu(this);
    const QString atual = filtro->Filtro(secao);
    QAction* todos = menu.addAction(QStringLiteral("(Todos)"));
    todos->setCheckable(true);
    todos->setChecked(atual.isEmpty());
    menu.addSeparator();
    for (const QString& v : filtro->ValoresColuna(secao)) {
        QAction* a = menu.addAction(v.isEmpty() ? QStringLiteral("(Vazios)") : v);
        a->setData(v);
        a->setCheckable(true);
        a->setChecked(!atual.isEmpty() && v.compare(atual, Qt::CaseInsensitive) == 0);
    }
    QAction* escolhida = menu.exec(posicao);
    if (!escolhida) return;
    const QString valor = escolhida == todos ? QString() : escolhida->data().toString();
    filtro->DefinirFiltro(secao, valor);
    cabecalho->DefinirFiltroAtivo(secao, !valor.isEmpty());
}

void TfrmLogsIntegradorPDVBistrel::AjustarColunas() {
    // The design's widths, stretched to fill the grid.
    const int disponivel = grdLogs->viewport()->width() > 0 ? grdLogs->viewport()->width() : 864;
    int soma = 0;
    for (int w : kLargurasDesenho) soma += w;
    int usado = 0;
    for (int c = 0; c < kColunasLogs; ++c) {
        const int w = c == kColunasLogs - 1 ? disponivel - usado : kLargurasDesenho[c] * disponivel / soma;
        grdLogs->setColumnWidth(c, w);
        usado += w;
    }
    cabecalho->AjustarFonte();
}

void TfrmLogsIntegradorPDVBistrel::resizeEvent(QResizeEvent* evento) {
    QDialog::resizeEvent(evento);
    AjustarColunas();
}

bool TfrmLogsIntegradorPDVBistrel::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == grdLogs->viewport() && evento->type() == QEvent::MouseMove) {
        const QModelIndex i = grdLogs->indexAt(static_cast<QMouseEvent*>(evento)->position().toPoint());
        if (i.isValid() && i.column() == colDetalhes)
            grdLogs->viewport()->setCursor(Qt::PointingHandCursor);
        else
            grdLogs->viewport()->unsetCursor();
    }
    if (objeto == grdLogs->viewport() && evento->type() == QEvent::Resize) AjustarColunas();
    return QDialog::eventFilter(objeto, evento);
}

void TfrmLogsIntegradorPDVBistrel::keyPressEvent(QKeyEvent* evento) {
    if (!TratarTeclaDialogo(*this, *evento)) QDialog::keyPressEvent(evento);
}

}  // namespace vesko
