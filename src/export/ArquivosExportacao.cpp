#include "export/ArquivosExportacao.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "base/Excecoes.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "platform/GravacaoAtomica.h"
#include "store/TextoLoja.h"

namespace vesko {

QString NomeArquivoSeguro(const QString& Texto) {
    static const QString kProibidos = QStringLiteral("\\/:*?\"<>|");
    QString r = Texto;
    for (QChar& c : r)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || kProibidos.contains(c)) c = QLatin1Char('_');
    return r;
}

int RemoverTemporariosExportacao(const QString& Diretorio) {
    const QDir dir(Diretorio);
    int n = 0;
    // A file written through TClientDataSet::SaveToFile (the event log) also
    // passes through "~*.tmp.~vesko-XXXXXX" on its way to "~*.tmp".
    const QStringList nomes = dir.entryList({QStringLiteral("~*.tmp"), QStringLiteral("~*.tmp") +
                                                                            MarcaTemporarioGravacao() +
                                                                            QStringLiteral("??????")},
                                            QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& nome : nomes)
        if (QFile::remove(dir.filePath(nome))) ++n;
    return n;
}

namespace {

// The base name with its random suffix replaced: the suffix is the text
// between the last "]" and ".dat".
QString TrocarSufixo(const QString& NomeBase) {
    const int fim = NomeBase.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive) ? NomeBase.size() - 4
                                                                                   : NomeBase.size();
    const int colchete = NomeBase.lastIndexOf(QLatin1Char(']'), fim - 1);
    return NomeBase.left(colchete + 1) + GetRandonSufix() + NomeBase.mid(fim);
}

bool Ocupado(const QString& Caminho) { return QFileInfo::exists(Caminho) || QFileInfo(Caminho).isSymLink(); }

}  // namespace

TUnidadeExportacao::TUnidadeExportacao(const QString& Diretorio) : m_diretorio(Diretorio) {}

TUnidadeExportacao::~TUnidadeExportacao() {
    if (m_concluida) return;
    try {
        Descartar();
    } catch (...) {  // never throw from a destructor
    }
}

QString TUnidadeExportacao::Temporario(const TArquivo& a) const {
    return m_diretorio + QStringLiteral("~") + a.Prefixo + a.NomeBase + QStringLiteral(".tmp");
}

const TUnidadeExportacao::TArquivo* TUnidadeExportacao::Procurar(const QString& Prefixo,
                                                                  const QString& NomeBase) const {
    for (const TArquivo& a : m_arquivos)
        if (a.Prefixo == Prefixo && a.NomeBase == NomeBase) return &a;
    return nullptr;
}

QString TUnidadeExportacao::CaminhoTemporario(const QString& Prefixo, const QString& NomeBase) {
    if (const TArquivo* a = Procurar(Prefixo, NomeBase)) return Temporario(*a);
    m_arquivos.push_back({Prefixo, NomeBase, Prefixo + NomeBase, false});
    return Temporario(m_arquivos.back());
}

void TUnidadeExportacao::Gravar(const QString& Prefixo, const QString& NomeBase, const QByteArray& Conteudo) {
    const QString caminho = CaminhoTemporario(Prefixo, NomeBase);
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Conteudo) != Conteudo.size() || !f.flush())
        throw EInOutError(QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(caminho, f.errorString()));
    f.close();
}

bool TUnidadeExportacao::Contem(const QString& Prefixo, const QString& NomeBase) const {
    const TArquivo* a = Procurar(Prefixo, NomeBase);
    return a && QFileInfo::exists(Temporario(*a));
}

bool TUnidadeExportacao::Efetivar() {
    // The sets, in the order their first file was added.
    QStringList bases;
    for (const TArquivo& a : m_arquivos)
        if (!bases.contains(a.NomeBase)) bases << a.NomeBase;
    for (const QString& base : bases) {
        QString final = base;
        const auto algumOcupado = [&] {
            for (const TArquivo& a : m_arquivos)
                if (a.NomeBase == base && Ocupado(m_diretorio + a.Prefixo + final)) return true;
            return false;
        };
        for (int tentativa = 0; algumOcupado(); ++tentativa) {
            if (tentativa == 100) {
                Descartar();
                return false;
            }
            final = TrocarSufixo(base);
        }
        // Last added, first renamed: a set's first file (a sale's header,
        // the file the back office starts from) appears last, so a process
        // stopped between two renames never leaves a header whose items or
        // documents are missing, only files no header names yet.
        for (auto it = m_arquivos.rbegin(); it != m_arquivos.rend(); ++it) {
            TArquivo& a = *it;
            if (a.NomeBase != base) continue;
            a.NomeFinal = a.Prefixo + final;
            // QFile::rename refuses an existing destination: never over a
            // file. A file added and never written (or removed meanwhile) is
            // only looked for once its rename failed.
            const QString temporario = Temporario(a);
            if (QFile::rename(temporario, m_diretorio + a.NomeFinal)) {
                a.Renomeado = true;
                continue;
            }
            if (!QFileInfo::exists(temporario)) continue;
            Descartar();
            return false;
        }
    }
    return true;
}

QStringList TUnidadeExportacao::CaminhosFinais() const {
    QStringList r;
    for (const TArquivo& a : m_arquivos)
        if (a.Renomeado) r << m_diretorio + a.NomeFinal;
    return r;
}

QStringList TUnidadeExportacao::NomesFinais() const {
    QStringList r;
    for (const TArquivo& a : m_arquivos)
        if (a.Renomeado) r << a.NomeFinal;
    return r;
}

QString TUnidadeExportacao::NomeFinal(const QString& Prefixo, const QString& NomeBase) const {
    const TArquivo* a = Procurar(Prefixo, NomeBase);
    return a ? a->NomeFinal : QString();
}

void TUnidadeExportacao::Descartar() {
    for (TArquivo& a : m_arquivos) {
        QFile::remove(Temporario(a));
        if (a.Renomeado) QFile::remove(m_diretorio + a.NomeFinal);
        a.Renomeado = false;
    }
    m_arquivos.clear();
}

TGuardaTransacao::~TGuardaTransacao() {
    try {
        if (m_gateway.GetConexao().EmTransacao()) m_gateway.ReverterTransacao();
    } catch (...) {  // the gateway audits its own failures; never throw from here
    }
}

}  // namespace vesko
