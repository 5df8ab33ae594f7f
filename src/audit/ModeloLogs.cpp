#include "audit/ModeloLogs.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QSet>
#include <QStyle>
#include <QStyleOptionHeader>

namespace vesko {

// ---- rows -----------------------------------------------------------------------

void TModeloLogs::Esvaziar() {
    beginResetModel();
    m_linhas.clear();
    endResetModel();
}

void TModeloLogs::CopiarAuditorias(const QList<TRegistroAuditoria>& registros) {
    if (registros.isEmpty()) return;
    beginInsertRows({}, m_linhas.size(), m_linhas.size() + registros.size() - 1);
    m_linhas += registros;
    endInsertRows();
}

QString TModeloLogs::TipoAuditoriaStr(int tipo) { return vesko::TipoAuditoriaStr(tipo); }

int TModeloLogs::rowCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : m_linhas.size(); }
int TModeloLogs::columnCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : kColunasLogs; }

QVariant TModeloLogs::data(const QModelIndex& indice, int papel) const {
    if (!indice.isValid()) return {};
    const TRegistroAuditoria& r = m_linhas.at(indice.row());
    const int c = indice.column();
    if (papel == Qt::DisplayRole) {
        switch (c) {
        case colTipoLog: return TipoAuditoriaStr(r.TipoAuditoria);
        case colTipoIntegracao: return r.TipoIntegracao;
        case colData: return r.DataOcorrencia.toString(QStringLiteral("dd/MM/yyyy"));
        case colHora: return r.HoraOcorrencia.toString(QStringLiteral("HH:mm:ss"));
        case colDescricao: return r.DescricaoCurta;
        case colDetalhes: return Detalhes();
        }
    }
    if (papel == PapelOrdenacao) {
        switch (c) {
        case colData: return r.DataOcorrencia;
        case colHora: return r.HoraOcorrencia;
        default: return data(indice, Qt::DisplayRole);
        }
    }
    if (papel == Qt::TextAlignmentRole) {
        if (c == colData || c == colHora || c == colDetalhes) return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (c == colDetalhes && papel == Qt::ForegroundRole) return QBrush(QColor(Qt::blue));
    if (c == colDetalhes && papel == Qt::FontRole) {
        QFont f;
        f.setUnderline(true);
        return f;
    }
    return {};
}

QVariant TModeloLogs::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    if (orientacao != Qt::Horizontal || papel != Qt::DisplayRole) return {};
    switch (secao) {
    case colTipoLog: return QStringLiteral("Tipo do log");
    case colTipoIntegracao: return QStringLiteral("Tipo de integração");
    case colData: return QStringLiteral("Data ocorrência");
    case colHora: return QStringLiteral("Hora Ocorrência");
    case colDescricao: return QStringLiteral("Descrição curta");
    default: return QString();
    }
}

Qt::ItemFlags TModeloLogs::flags(const QModelIndex& indice) const {
    return indice.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

// ---- filter and sort -------------------------------------------------------------

void TFiltroLogs::DefinirFiltro(int coluna, const QString& valor) {
    if (valor.isEmpty())
        m_filtros.remove(coluna);
    else
        m_filtros[coluna] = valor;
    invalidateFilter();
}

QStringList TFiltroLogs::ValoresColuna(int coluna) const {
    QSet<QString> vistos;
    QStringList valores;
    const QAbstractItemModel* m = sourceModel();
    for (int i = 0; m && i < m->rowCount(); ++i) {
        const QString v = m->index(i, coluna).data().toString();
        if (!vistos.contains(v.toCaseFolded())) {
            vistos.insert(v.toCaseFolded());
            valores << v;
        }
    }
    valores.sort(Qt::CaseInsensitive);
    return valores;
}

bool TFiltroLogs::filterAcceptsRow(int linha, const QModelIndex& pai) const {
    for (auto it = m_filtros.cbegin(); it != m_filtros.cend(); ++it) {
        const QString v = sourceModel()->index(linha, it.key(), pai).data().toString();
        if (v.compare(it.value(), Qt::CaseInsensitive) != 0) return false;
    }
    return true;
}

// ---- header ----------------------------------------------------------------------

TCabecalhoLogs::TCabecalhoLogs(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setSectionsMovable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    viewport()->setMouseTracking(true);
}

QString TCabecalhoLogs::Legenda(int secao) const {
    return model() ? model()->headerData(secao, orientation(), Qt::DisplayRole).toString() : QString();
}

QRect TCabecalhoLogs::BotaoFiltro(int secao) const {
    if (secao < 0 || secao >= colDetalhes) return {};
    const int x = sectionViewportPosition(secao) + sectionSize(secao) - kLarguraBotao;
    return QRect(x, 0, kLarguraBotao - 2, height());
}

bool TCabecalhoLogs::BotaoFiltroVisivel(int secao) const {
    return secao >= 0 && secao < colDetalhes && (secao == m_sobMouse || m_ativos.contains(secao));
}

void TCabecalhoLogs::DefinirFiltroAtivo(int secao, bool ativo) {
    if (ativo)
        m_ativos.insert(secao);
    else
        m_ativos.remove(secao);
    viewport()->update();
}

int TCabecalhoLogs::EspacoLegenda(int secao, bool comBotao) const {
    return sectionSize(secao) - 2 * kMargem - (comBotao && secao < colDetalhes ? kLarguraBotao : 0);
}

void TCabecalhoLogs::AjustarFonte() {
    const auto cabe = [this](const QFont& f, bool comBotao) {
        const QFontMetrics m(f);
        for (int c = 0; c < count(); ++c)
            if (m.horizontalAdvance(Legenda(c)) > EspacoLegenda(c, comBotao)) return false;
        return true;
    };
    QFont f = font();
    for (bool comBotao : {true, false})
        for (qreal pontos = kPontos; pontos >= kPontosMinimos; pontos -= 0.5) {
            f.setPointSizeF(pontos);
            if (cabe(f, comBotao)) return setFont(f);
        }
    f.setPointSizeF(kPontosMinimos);
    setFont(f);
}

void TCabecalhoLogs::DefinirSobMouse(int secao) {
    if (secao == m_sobMouse) return;
    m_sobMouse = secao;
    viewport()->update();
}

void TCabecalhoLogs::paintSection(QPainter* painter, const QRect& rect, int secao) const {
    painter->save();
    // The section's face from the style, with the caption and the arrows drawn here.
    QStyleOptionHeader opcao;
    initStyleOption(&opcao);
    opcao.rect = rect;
    opcao.section = secao;
    opcao.text.clear();
    opcao.sortIndicator = QStyleOptionHeader::None;
    if (secao == m_sobMouse) opcao.state |= QStyle::State_MouseOver;
    style()->drawControl(QStyle::CE_HeaderSection, &opcao, painter, this);

    const QRect texto = rect.adjusted(kMargem, 0, -kMargem - (BotaoFiltroVisivel(secao) ? kLarguraBotao : 0), 0);
    painter->setFont(font());
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(texto, Qt::AlignLeft | Qt::AlignVCenter,
                      painter->fontMetrics().elidedText(Legenda(secao), Qt::ElideRight, texto.width()));

    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    if (isSortIndicatorShown() && sortIndicatorSection() == secao) {
        const qreal cx = rect.center().x() + 0.5, topo = rect.top() + 1.5;
        painter->setBrush(QColor(90, 90, 90));
        if (sortIndicatorOrder() == Qt::AscendingOrder)
            painter->drawPolygon(QPolygonF({QPointF(cx - 4, topo + 3.5), QPointF(cx + 4, topo + 3.5), QPointF(cx, topo)}));
        else
            painter->drawPolygon(QPolygonF({QPointF(cx - 4, topo), QPointF(cx + 4, topo), QPointF(cx, topo + 3.5)}));
    }
    if (BotaoFiltroVisivel(secao)) {
        // A small arrow: the column's filter list.
        const QRect b(rect.right() - kLarguraBotao + 1, rect.top(), kLarguraBotao - 2, rect.height());
        painter->setBrush(m_ativos.contains(secao) ? QColor(148, 178, 57) : QColor(110, 110, 110));
        const QPointF c = QRectF(b).center();
        painter->drawPolygon(
            QPolygonF({QPointF(c.x() - 4, c.y() - 2), QPointF(c.x() + 4, c.y() - 2), QPointF(c.x(), c.y() + 3)}));
    }
    painter->restore();
}

void TCabecalhoLogs::mousePressEvent(QMouseEvent* evento) {
    const QPoint ponto = evento->position().toPoint();
    const int secao = logicalIndexAt(ponto);
    DefinirSobMouse(secao);  // a press is over its section
    if (evento->button() == Qt::LeftButton && BotaoFiltro(secao).contains(ponto)) {
        emit FiltroPedido(secao, mapToGlobal(QPoint(BotaoFiltro(secao).left(), height())));
        return;
    }
    QHeaderView::mousePressEvent(evento);
}

void TCabecalhoLogs::mouseMoveEvent(QMouseEvent* evento) {
    DefinirSobMouse(logicalIndexAt(evento->position().toPoint()));
    QHeaderView::mouseMoveEvent(evento);
}

bool TCabecalhoLogs::viewportEvent(QEvent* evento) {
    if (evento->type() == QEvent::Leave) DefinirSobMouse(-1);
    return QHeaderView::viewportEvent(evento);
}

}  // namespace vesko
