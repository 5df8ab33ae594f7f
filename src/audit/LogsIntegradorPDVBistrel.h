#pragma once
// The audit viewer: the records of the last days in a grid, oldest first;
// the long text of a record through its "Detalhes..." cell. Below the grid,
// a line in red says where the records the trail could not take are
// (AvisoAuditoriaNaoGravada) while that file holds any.
#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;
class QTableView;

namespace vesko {

class TModeloLogs;
class TFiltroLogs;
class TCabecalhoLogs;

class TfrmLogsIntegradorPDVBistrel : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogsIntegradorPDVBistrel(QWidget* parent = nullptr);

    // Loads the records (runs on the first show).
    void FormShow();
    // Opens the details window of the row at `linhaVisivel` of the grid.
    void ExibirDetalhes(int linhaVisivel);

    // Days that exist but could not be read during the last load, as warnings.
    const QStringList& Avisos() const { return m_avisos; }
    // Called with each warning text; by default a warning box.
    std::function<void(const QString&)> MostrarAviso;
    // Called with the details window before it is shown modally (tests).
    std::function<void(QDialog&)> AntesDeMostrarDetalhes;

    QLabel* lblTitulo;
    QLabel* lblAuditoriaNaoGravada;  // hidden while the fallback file holds nothing
    QTableView* grdLogs;
    QPushButton* btnOK;
    TModeloLogs* cdsLogs;
    TFiltroLogs* filtro;
    TCabecalhoLogs* cabecalho;

protected:
    void showEvent(QShowEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CarregarAuditorias(const QDate& dia);
    void MostrarAuditoriaNaoGravada();
    void cxColumnLogsDBTableViewHintErroHeaderClick(int secao);
    void grdLogsDBTableViewCellClick(const QModelIndex& indice);
    void AbrirFiltro(int secao, const QPoint& posicao);
    void AjustarColunas();

    bool m_carregado = false;
    int m_colunaOrdem = -1;
    Qt::SortOrder m_ordem = Qt::AscendingOrder;
    QStringList m_avisos;
};

}  // namespace vesko
