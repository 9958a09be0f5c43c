// The dialog 增加总帐科目.
#include "accounts/ui/toplevelaccountdialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "accounts/chartrules.h"
#include "accounts/toplevelaccount.h"
#include "store/dialogs.h"
#include "store/numerickeyfilter.h"
#include "store/pinyininitials.h"
#include "store/ui/controls.h"

using namespace Qt::Literals::StringLiterals;

namespace tz {

TopLevelAccountDialog::TopLevelAccountDialog(Session &session, WindowDialogs dialogs, QWidget *parent)
    : SetWindow(session, dialogs.given, parent)
{
    build();
}

TopLevelAccountDialog::~TopLevelAccountDialog() = default;

void TopLevelAccountDialog::build()
{
    setObjectName(u"Form10"_s);
    setWindowTitle(u"增加总帐科目"_s);

    m_code = new QLineEdit(this);
    m_code->setObjectName(u"Text1"_s);
    m_code->setMaxLength(4);
    m_code->setPlaceholderText(u"4位,首位1-5"_s);
    m_code->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_code->installEventFilter(this);

    m_name = new QLineEdit(this);
    m_name->setObjectName(u"Text2"_s);
    m_name->setMinimumWidth(220);

    m_direction = new QComboBox(this);
    m_direction->setObjectName(u"Combo1"_s);
    m_direction->addItems({u"借"_s, u"贷"_s});
    m_direction->setPlaceholderText(u"借/贷"_s);
    m_direction->setCurrentIndex(-1);
    m_direction->setMinimumWidth(80);

    m_initials = new QLineEdit(this);
    m_initials->setObjectName(u"Text3"_s);
    m_initials->setToolTip(u"拼音首字母,可修改"_s);
    connect(m_name, &QLineEdit::textChanged, this,
        [this](const QString &name) { m_initials->setText(PinyinInitials(cleanAccountName(name))); });

    auto *form = new QGridLayout;
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(8);
    form->addWidget(new QLabel(u"总帐代码"_s, this), 0, 0);
    form->addWidget(m_code, 0, 1);
    form->addWidget(new QLabel(u"科目名称"_s, this), 1, 0);
    form->addWidget(m_name, 1, 1, 1, 3);
    form->addWidget(new QLabel(u"方向"_s, this), 2, 0);
    form->addWidget(m_direction, 2, 1);
    form->addWidget(new QLabel(u"拼音"_s, this), 2, 2, Qt::AlignRight);
    form->addWidget(m_initials, 2, 3);
    form->setColumnStretch(3, 1);

    QPushButton *add = commandButton(this, u"Command1"_s, u"增加"_s);
    QPushButton *close = commandButton(this, u"Command2"_s, u"关闭"_s);
    add->setMinimumWidth(80);
    close->setMinimumWidth(80);
    connect(add, &QPushButton::clicked, this, &TopLevelAccountDialog::addAccount);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addLayout(form);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void TopLevelAccountDialog::addAccount()
{
    const NewTopLevelAccount account {m_code->text(), m_name->text(), m_direction->currentText(), m_initials->text()};
    if (!AddTopLevelAccount(m_session, account, m_dialogs).isDone())
        return;
    m_name->clear();
    m_name->setFocus();
    emit accountAdded(account.code);
}

bool TopLevelAccountDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_code && event->type() == QEvent::KeyPress && isRefusedCodeKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace tz
