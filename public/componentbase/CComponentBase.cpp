#include "CComponentBase.h"

CComponentBase::CComponentBase(QObject *parent) : QObject(parent) {}
CComponentBase::~CComponentBase() = default;

QString CComponentBase::displayName() const { return name(); }
QString CComponentBase::icon() const { return QString(); }
QString CComponentBase::description() const { return QString(); }
QString CComponentBase::version() const { return QStringLiteral("1.0"); }
bool CComponentBase::initialize() { return true; }
void CComponentBase::release() {}
bool CComponentBase::canLayout() const { return false; }
QObject *CComponentBase::rootItem() const { return nullptr; }
void CComponentBase::setParentComponent(QObject *pParent) { m_pParentComponent = pParent; }
void CComponentBase::setEngine(QQmlEngine *pEngine) { m_pEngine = pEngine; }
QQmlEngine *CComponentBase::engine() const { return m_pEngine; }
void CComponentBase::retranslate() {}

void CComponentBase::onTranslate()
{
    Q_EMIT sigDisplayNameChanged();
    retranslate();
}
