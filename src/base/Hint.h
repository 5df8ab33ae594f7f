#pragma once
// The hint of the runs: the import and the export write their progress texts
// here. The tray icon shows it as its tooltip, the command line prints each
// change to standard error, tests record the texts.
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

namespace vesko {

class IHint {
public:
    virtual ~IHint() = default;
    virtual void DefinirHint(const QString& texto) = 0;
    virtual QString Hint() const = 0;
};

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

private:
    int m_intervaloMs;
    QElapsedTimer m_ultimo;
    QString m_prefixoProgresso;  // the rewrite whose progress was shown last
};

}  // namespace vesko
