#pragma once
// The hint of the runs: the import and the export write their progress texts
// here. The tray icon shows it as its tooltip, the command line prints each
// change to standard error, tests record the texts.
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vesko {

class IHint {
public:
    virtual ~IHint() = default;
    virtual void DefinirHint(const QString& texto) = 0;
    virtual QString Hint() const = 0;
    // The progress of a rewrite, record k of N: the text
    // TextoProgresso(prefixo, k, N). A presenter that shows only some of
    // these texts overrides it to build just the ones it shows.
    virtual void DefinirProgresso(const QString& prefixo, int atual, int total) {
        DefinirHint(TextoProgresso(prefixo, atual, total));
    }

    // "<prefixo>(k de N -> P%)...", the percentage with two decimals in the
    // regional number format.
    static QString TextoProgresso(const QString& prefixo, int atual, int total);
};

// Appends "(k de N -> P%)" to `texto`: the percentage with two decimals,
// rounded half away from zero, in the regional number format ("(1 de 3 ->
// 33,33%)" with Brazilian settings); a total of 0 or less shows 100.
void AnexarProgresso(QString& texto, int atual, int total);

// Keeps the current hint and every text it was given (tests, headless runs).
class THintMemoria : public IHint {
public:
    void DefinirHint(const QString& texto) override;
    QString Hint() const override { return m_atual; }
    const QStringList& Historico() const { return m_historico; }
private:
    QString m_atual;
    QStringList m_historico;
};

// Which hint texts a presenter shows (the tray's tooltip, the lines printed
// by `servico`, `importar` and `exportar`). A run blocks the UI thread, so
// nothing can be shown later: each text is shown at once or never. Progress
// texts of a rewrite ("Importando ... (k de N -> P%)...") come once per
// record and are thinned to at most one per interval, except the first of a
// rewrite and the last (k = N); every other text is shown at once.
class TRitmoHint {
public:
    explicit TRitmoHint(int intervaloMs = 250) : m_intervaloMs(intervaloMs) {}
    bool Mostrar(const QString& texto);
    // The same rule for a progress given by its parts (IHint::DefinirProgresso),
    // so a text left unshown is never built.
    bool MostrarProgresso(const QString& prefixo, int atual, int total);
    // The last progress text left unshown, when no other text came after it
    // (a presenter shows the run's last text once the run ends).
    bool TemPendente() const { return m_pendente.Existe; }
    QString Pendente() const;

private:
    struct TProgressoPendente {
        bool Existe = false;
        QString Prefixo;
        int Atual = 0;
        int Total = 0;
    };
    bool Decidir(QStringView prefixo, qint64 atual, qint64 total);

    int m_intervaloMs;
    QElapsedTimer m_ultimo;
    QString m_prefixoProgresso;  // the rewrite whose progress was shown last
    TProgressoPendente m_pendente;
};

}  // namespace vesko
