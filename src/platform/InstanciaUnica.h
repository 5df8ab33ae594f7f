#pragma once
// The machine-wide single-instance lock ("Global\Quorvel_IntegradorVesko").
// One lock for every user of the machine; the system releases it when the
// holding process dies, so a crashed instance never blocks the next start.
#include <QString>

namespace vesko {

class TInstanciaUnica {
public:
    explicit TInstanciaUnica(const QString& nome = QStringLiteral("Global\\Quorvel_IntegradorVesko"));
    ~TInstanciaUnica();
    TInstanciaUnica(const TInstanciaUnica&) = delete;
    TInstanciaUnica& operator=(const TInstanciaUnica&) = delete;

    // Takes the lock; False when another process holds it.
    bool Adquirir();
    bool Adquirido() const { return m_handle != kNenhum; }
    void Liberar();

private:
    static constexpr long long kNenhum = -1;
    QString m_nome;
    long long m_handle = kNenhum;
};

}  // namespace vesko
