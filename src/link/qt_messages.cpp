#include "link/qt_messages.h"

#include <QMessageBox>

namespace kt730 {
namespace {

void showBox(QWidget* parent, QMessageBox::Icon icon, std::string_view text) {
    auto* box = new QMessageBox(icon, QStringLiteral("KT730-T-B-2"),
                                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

}  // namespace

void QtMessages::message(std::string_view text) {
    showBox(parent_, QMessageBox::Information, text);
}

void QtMessages::error(std::string_view text) { showBox(parent_, QMessageBox::Critical, text); }

}  // namespace kt730
