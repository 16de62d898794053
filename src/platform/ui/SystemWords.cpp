#include "platform/ui/SystemWords.h"

#include "platform/foundation/Device.h"

namespace ui {

std::string systemWord(SystemWord word)
{
    struct Words {
        const char* english;
        const char* japanese;
    };
    auto words = [word]() -> Words {
        switch (word) {
        case SystemWord::Done: return { "Done", "完了" };
        case SystemWord::Cancel: return { "Cancel", "キャンセル" };
        case SystemWord::Edit: return { "Edit", "編集" };
        case SystemWord::Save: return { "Save", "保存" };
        case SystemWord::Undo: return { "Undo", "取り消す" };
        case SystemWord::Redo: return { "Redo", "やり直す" };
        case SystemWord::Back: return { "Back", "戻る" };
        case SystemWord::Delete: return { "Delete", "削除" };
        case SystemWord::Search: return { "Search", "検索" };
        case SystemWord::Space: return { "space", "空白" };
        case SystemWord::Return: return { "return", "改行" };
        case SystemWord::Next: return { "Next", "次へ" };
        case SystemWord::Go: return { "Go", "開く" };
        case SystemWord::Send: return { "Send", "送信" };
        case SystemWord::Join: return { "Join", "接続" };
        case SystemWord::Route: return { "Route", "経路" };
        case SystemWord::EmergencyCall: return { "Emergency", "緊急" };
        }
        return { "", "" };
    }();
    return foundation::Device::current().language() == "ja" ? words.japanese : words.english;
}

} // namespace ui
