#include "platform/ui/db_navigator.h"
#include "platform/data/data_source.h"
#include "platform/ui/guard.h"
#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace ui {

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    struct Look {
        const char* name;
        QStyle::StandardPixmap icon;
    };
    const Look looks[] = {{"btnFirst", QStyle::SP_MediaSkipBackward},
                          {"btnPrior", QStyle::SP_MediaSeekBackward},
                          {"btnNext", QStyle::SP_MediaSeekForward},
                          {"btnLast", QStyle::SP_MediaSkipForward}};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(looks[i].name));
        b->setIcon(style()->standardIcon(looks[i].icon));
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, i] { move(Button(i)); });
        layout->addWidget(b);
        buttons_[i] = b;
    }
    updateButtons();
}

void DBNavigator::setDataSource(data::DataSource* source) {
    for (const auto& link : links_)
        disconnect(link);
    links_.clear();
    source_ = source;
    if (source) {
        using data::DataSource;
        for (auto signal : {&DataSource::dataSetChanged, &DataSource::scrolled,
                            &DataSource::stateChanged, &DataSource::dataSetReplaced})
            links_ << connect(source, signal, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::move(Button which) {
    data::ClientDataSet* ds = source_ ? source_->dataSet() : nullptr;
    if (!ds)
        return;
    const bool moved = runGuarded([&] {
        switch (which) {
        case First:
            ds->first();
            break;
        case Prior:
            ds->prior();
            break;
        case Next:
            ds->next();
            break;
        case Last:
            ds->last();
            break;
        }
    });
    updateButtons();
    if (moved)
        emit clicked(which);
}

// By position rather than bof/eof: those are only set after a move tried to go past an end.
void DBNavigator::updateButtons() {
    const data::ClientDataSet* ds = source_ ? source_->dataSet() : nullptr;
    const bool active = ds && ds->active() && !ds->isEmpty();
    const bool atFirst = !active || ds->recNo() <= 0;
    // While a table is still being read, more rows may follow: Next reads on to find them.
    const bool atLast = !active || (ds->wholeRead() && ds->recNo() >= ds->recordCount() - 1);
    buttons_[First]->setEnabled(!atFirst);
    buttons_[Prior]->setEnabled(!atFirst);
    buttons_[Next]->setEnabled(!atLast);
    buttons_[Last]->setEnabled(!atLast);
}

} // namespace ui
