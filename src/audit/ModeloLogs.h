#pragma once
// The viewer's rows (`cdsLogs`), the filter per column and the header that
// offers each column's values.
#include <QAbstractTableModel>
#include <QHeaderView>
#include <QMap>
#include <QSet>
#include <QSortFilterProxyModel>

#include "audit/LeituraAuditoria.h"

namespace vesko {

// Columns of the grid, in order.
enum ColunaLogs { colTipoLog, colTipoIntegracao, colData, colHora, colDescricao, colDetalhes, kColunasLogs };

class TModeloLogs : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Esvaziar();
    void CopiarAuditorias(const QList<TRegistroAuditoria>& registros);
    const TRegistroAuditoria& Registro(int linha) const { return m_linhas.at(linha); }

    // "Erro" for 0, "Aviso" for 1, "Informação" for any other value.
    static QString TipoAuditoriaStr(int tipo);
    static QString Detalhes() { return QStringLiteral("Detalhes..."); }

    int rowCount(const QModelIndex& pai = {}) const override;
    int columnCount(const QModelIndex& pai = {}) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;

    static constexpr int PapelOrdenacao = Qt::UserRole + 1;

private:
    QList<TRegistroAuditoria> m_linhas;
};

// Case-insensitive filter per column (a value chosen from the column's list)
// and sorting on the raw values (dates as dates, times as times).
class TFiltroLogs : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void DefinirFiltro(int coluna, const QString& valor);  // empty: no filter
    QString Filtro(int coluna) const { return m_filtros.value(coluna); }
    // The distinct texts of a column among the loaded rows, sorted.
    QStringList ValoresColuna(int coluna) const;

protected:
    bool filterAcceptsRow(int linha, const QModelIndex& pai) const override;

private:
    QMap<int, QString> m_filtros;
};

// Header of the grid: captions left-aligned; each data column has a filter
// button at its right end, shown while the mouse is over the column's header
// or while its filter is active; clicking the rest of the section sorts by
// it, and the sort arrow sits at the top centre, clear of the caption.
class TCabecalhoLogs : public QHeaderView {
    Q_OBJECT
public:
    explicit TCabecalhoLogs(QWidget* parent = nullptr);
    QRect BotaoFiltro(int secao) const;
    bool BotaoFiltroVisivel(int secao) const;
    void DefinirFiltroAtivo(int secao, bool ativo);
    // The header's font for the current column widths: 9 points, lowered in
    // half points (not below 8) until every caption fits beside its button
    // or, failing that, in its section.
    void AjustarFonte();
    // Room for the caption of `secao` in the section, with or without the button.
    int EspacoLegenda(int secao, bool comBotao) const;

    static constexpr int kMargem = 4;
    static constexpr int kLarguraBotao = 16;
    static constexpr qreal kPontos = 9;
    static constexpr qreal kPontosMinimos = 8;

signals:
    void FiltroPedido(int secao, const QPoint& posicaoGlobal);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int secao) const override;
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    bool viewportEvent(QEvent* evento) override;

private:
    void DefinirSobMouse(int secao);
    QString Legenda(int secao) const;

    QSet<int> m_ativos;
    int m_sobMouse = -1;
};

}  // namespace vesko
