#include "localization/texts.h"

#include "localization/language.h"

namespace quillon {

namespace {

constexpr auto telegramLine = joinTexts(u"Telegram: @", messengerChannel);
constexpr auto emailLineEn = joinTexts(u"Email: ", emailAddress);
constexpr auto emailLineRu = joinTexts(u"Почта: ", emailAddress);

}  // namespace

const std::array<const char16_t*, textCount> qlnEnText{
    u"Quillon — layer settings",
    u"Quillon — layer settings",
    u"Settings…",
    u"Start with Windows",
    u"About…",
    u"Support the author (donation)",
    u"Exit",
    u"Could not open the link.",
    u"Discard unsaved changes?",
    u"Could not open the About window.",
    u"About",
    u"Version",
    telegramLine.data(),
    emailLineEn.data(),
    u"Close",
    u"Not enough memory",
    u"The profile must keep at least one layer.",
    u"Enter a mouse timeout from 1 to 600000 ms.",
    u"Set key",
    u"Press…",
    u"Delay before layer\nactivation, ms",
    u"Ignore key press when\nheld longer, ms",
    u"Layer keys",
    u"Key → action",
    u"Source key",
    u"Target key",
    u"Add layer",
    u"Remove layer",
    u"After typing, ignore mouse movement\nfor the timeout",
    u"Mouse timeout, ms",
    u"Enable",
    u"Disable",
    u"None",
    u"Mouse movement",
    u"Add binding",
    u"Remove binding",
    u"Special key (0x%02X)",
    u"Left mouse button",
    u"Right mouse button",
    u"Middle mouse button",
    u"Enter a delay from 0 to 1000 ms.",
    u"Enter a hold threshold from 500 to 5000 ms.",
    u" Key mappings ",
    u" Layer settings ",
    u"Save",
    u"Close",
};

const std::array<const char16_t*, textCount> qlnRuText{
    u"Quillon — настройки слоёв",
    u"Quillon — настройки слоёв",
    u"Настройки…",
    u"Автозапуск при входе в Windows",
    u"О программе…",
    u"Поддержать автора (донат)",
    u"Выход",
    u"Не удалось открыть ссылку.",
    u"Отменить несохранённые изменения?",
    u"Не удалось открыть окно «О программе».",
    u"О программе",
    u"Версия",
    telegramLine.data(),
    emailLineRu.data(),
    u"Закрыть",
    u"Недостаточно памяти",
    u"В профиле должен остаться хотя бы один слой.",
    u"Введите тайм-аут мыши от 1 до 600000 мс.",
    u"Настроить клавишу",
    u"Введите…",
    u"Задержка перед активацией\nслоя, мс",
    u"Игнорировать нажатие при\nудержании дольше, мс",
    u"Клавиши слоёв",
    u"Клавиша → действие",
    u"Исходная клавиша",
    u"Выходная клавиша",
    u"Добавить слой",
    u"Удалить слой",
    u"После ввода текста не включать слой\nпо движению мыши в течение тайм-аута",
    u"Тайм-аут мыши, мс",
    u"Включить",
    u"Выключить",
    u"Нет",
    u"Движение мыши",
    u"Добавить подмену",
    u"Удалить подмену",
    u"Особая клавиша (0x%02X)",
    u"Левая кнопка мыши",
    u"Правая кнопка мыши",
    u"Средняя кнопка мыши",
    u"Введите задержку от 0 до 1000 мс.",
    u"Введите порог удержания от 500 до 5000 мс.",
    u" Настройки замены ",
    u" Настройки слоя ",
    u"Сохранить",
    u"Закрыть",
};

const char16_t* text(TextId id) {
  const auto index = static_cast<std::size_t>(id);
  return qlnUiLanguage() == english ? qlnEnText[index] : qlnRuText[index];
}

}  // namespace quillon
