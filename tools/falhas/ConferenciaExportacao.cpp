#include "ConferenciaExportacao.h"

#include <QDir>
#include <QFile>

#include "base/Excecoes.h"
#include "datapacket/ClientDataSet.h"
#include "records/ClienteExportacaoRec.h"
#include "records/VendaHeader.h"
#include "records/VendaItemRec.h"

namespace vesko::falhas {

void TConferenciaExportacao::RegistrarSaidas(const TFotoExportacao& antes, const TFotoExportacao& depois) {
    for (const auto& [chave, n] : antes.Pendentes) {
        const auto it = depois.Pendentes.find(chave);
        const int restam = it == depois.Pendentes.end() ? 0 : it->second;
        if (n > restam) m_saidas[chave] += n - restam;
    }
}

QStringList TConferenciaExportacao::LerNovosArquivos() {
    QStringList erros;
    const QStringList nomes = QDir(m_diretorio).entryList(QDir::Files, QDir::Name);
    for (const QString& nome : nomes) {
        if (nome.startsWith(QLatin1Char('~')) || m_lidos.count(nome)) continue;
        QFile f(QDir(m_diretorio).filePath(nome));
        if (!f.open(QIODevice::ReadOnly)) {
            erros << QStringLiteral("arquivo ilegível: ") + nome;
            continue;
        }
        try {
            LerArquivo(nome, f.readAll());
        } catch (const std::exception& e) {
            erros << QStringLiteral("arquivo incompleto: %1 (%2)").arg(nome, QString::fromUtf8(e.what()));
        }
        m_lidos.insert(nome);
    }
    return erros;
}

void TConferenciaExportacao::LerArquivo(const QString& nome, const QByteArray& bytes) {
    ++m_nosArquivos[ChaveDocumento(bytes)];
    if (nome.startsWith(QLatin1String("HDoc"))) {
        if (bytes.size() != TVendaHeader::Tamanho) throw std::runtime_error("tamanho do cabeçalho");
        TVendaHeader h;
        h.Carregar(bytes);
        ++m_nosArquivos[ChaveVenda(h.Valor(TVendaHeader::IdMovimento))];
        if (h.Valor(TVendaHeader::QtdeItens) > 0) m_cabecalhosComItens.insert(nome.mid(4));
    } else if (nome.startsWith(QLatin1String("DDoc"))) {
        if (bytes.size() % TVendaItemRec::Tamanho != 0) throw std::runtime_error("tamanho dos itens");
    } else if (nome.startsWith(QLatin1String("CCad"))) {
        if (bytes.size() != TClienteExportacaoRec::Tamanho) throw std::runtime_error("tamanho do cliente");
        TClienteExportacaoRec r;
        r.Carregar(bytes);
        ++m_nosArquivos[ChaveCliente(r.Valor(TClienteExportacaoRec::CpfCnpj), r.Valor(TClienteExportacaoRec::Nome))];
    } else if (nome.startsWith(QLatin1String("LEvt"))) {
        TClientDataSet ds;
        ds.LoadFromBytes(bytes);
        for (ds.First(); !ds.Eof(); ds.Next())
            ++m_nosArquivos[ChaveLog(ds.FieldByName(QStringLiteral("DsUsuarioLogado")).AsString(),
                                     ds.FieldByName(QStringLiteral("DsNomeMaquina")).AsString(),
                                     ds.FieldByName(QStringLiteral("DsDescricaoCurta")).AsString())];
    }
}

QStringList TConferenciaExportacao::Faltantes() const {
    QStringList r;
    for (const auto& [chave, n] : m_saidas) {
        const auto it = m_nosArquivos.find(chave);
        const int achados = it == m_nosArquivos.end() ? 0 : it->second;
        if (achados < n) r << QStringLiteral("saiu do banco sem arquivo: %1 (saídas %2, nos arquivos %3)")
                                  .arg(chave).arg(n).arg(achados);
    }
    return r;
}

int TConferenciaExportacao::ConjuntosParciais() const {
    int n = 0;
    for (const QString& resto : m_cabecalhosComItens)
        if (!m_lidos.count(QStringLiteral("DDoc") + resto)) ++n;
    return n;
}

int TConferenciaExportacao::Duplicatas() const {
    int d = 0;
    for (const auto& [chave, n] : m_saidas) {
        const auto it = m_nosArquivos.find(chave);
        if (it != m_nosArquivos.end() && it->second > n) d += it->second - n;
    }
    return d;
}

}  // namespace vesko::falhas
