// The summary-phrase window (请双击选择摘要): lists the stored phrases, hands
// the one double-clicked to the voucher line it was opened for, and adds
// and deletes phrases.
#pragma once

#include <functional>
#include <memory>

#include <QPointer>

#include <QDialog>

#include "store/operation.h"
#include "store/ui/setwindow.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace tz {

class PhrasePicker : public SetWindow<QDialog> {
    Q_OBJECT

public:
    // Receives the chosen phrase (the voucher grid's 摘要说明 cell of the line
    // the window was opened for).
    using PhrasePick = std::function<void(const QString &phrase)>;

    // Messages and questions go to `dialogs` (it must outlive the window), or,
    // when none is given, to message boxes over this window.
    explicit PhrasePicker(Session &session, WindowDialogs dialogs = {}, QWidget *parent = nullptr);
    ~PhrasePicker() override;

    // A double-click hands the phrase to `deliver` and closes the window;
    // without a receiver (the window opened for no line) it only closes. The
    // window is placed 2800 twips right of and 2000 twips below
    // `voucherWindow` (the parent's window when null).
    void pickFor(PhrasePick deliver, const QWidget *voucherWindow = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setUp();

    void build();
    void reload();
    void choose(QListWidgetItem *item);
    void addPhrase();
    void deletePhrase();

    PhrasePick m_deliver;
    QPointer<const QWidget> m_anchor; // the window or field the picker is placed beside

    QListWidget *m_list = nullptr; // List1
    QLineEdit *m_phrase = nullptr; // Text2
};

} // namespace tz
