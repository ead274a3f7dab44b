#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Component.h"
#include "Cursors.h"
#include "Events.h"
#include "FormBase.h"
#include "ModalDialog.h"
#include "ScreenPoint.h"

// A top-level window that is also the root component of its layout: it
// publishes the handlers its layout names and owns every component of it.
// The window itself is the toolkit's (FormBase, chosen by the build: a
// QDialog on Qt, an HWND on Windows); what a form does with it is shared.
// Dialogs are shown modally through desktopLoops().execModal.
class Form : public FormBase, public Component, public ModalDialog {
public:
    enum class TFormStyle : int { fsNormal = 0, fsMDIChild = 1, fsMDIForm = 2, fsStayOnTop = 3 };
    enum class TFormBorderStyle : int {
        bsNone = 0,
        bsSingle,
        bsSizeable,
        bsDialog,
        bsToolWindow,
        bsSizeToolWin
    };

    explicit Form(Component* owner = nullptr);
    ~Form() override;

    std::string className() const override { return "TForm"; }

    // ModalDialog: the form's own window and its modal result.
    WindowHandle dialogWindow() const override;
    void beginModal() override;
    std::optional<int> modalResult() const override;

    // Reads the layout into this form (FormLoader) and then runs OnCreate.
    void loadLayout(const std::vector<std::uint8_t>& bytes);
    // Runs OnCreate; an exception from it is shown, not thrown.
    void doCreate();

    // Outer position and size. Moves go through desktopWindows().moveWindow.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void setLeft(int v);
    void setTop(int v);
    // While a move batch is open, Left and Top change at once for whoever
    // reads them, but the desktop is asked to move the window only once, with
    // the final position, when the outermost batch closes. A tick that sets
    // Left and Top several times thus sends the window system one move.
    void beginMoveBatch() { ++moveBatchDepth_; }
    void endMoveBatch();
    void setWidth(int v);
    void setHeight(int v);
    int ClientWidth() const { return clientWidth(); }
    int ClientHeight() const { return clientHeight(); }
    void setClientWidth(int v);
    void setClientHeight(int v);

    std::string Caption() const;
    void setCaption(const std::string& caption);
    TFormStyle FormStyle() const { return formStyle_; }
    void setFormStyle(TFormStyle style);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void setBorderStyle(TFormBorderStyle style);
    // No caption and no frame: the client area is the whole window. Does
    // nothing when the form is already borderless, so that calling it on
    // every frame switch never re-creates the window.
    void setBorderStyleNone() { setBorderStyle(TFormBorderStyle::bsNone); }
    // The form no longer fills its background.
    void setClearBrush();
    bool hasClearBrush() const { return clearBrush_; }
    std::int32_t Color() const { return color_; }
    void setColor(std::int32_t color);
    TCursor Cursor() const { return cursor_; }
    void setCursorNumber(TCursor cursor);

    const TNotifyEvent& OnCreate() const { return onCreate_; }
    void setOnCreate(TNotifyEvent h) { onCreate_ = std::move(h); }
    const TCloseEvent& OnClose() const { return onClose_; }
    void setOnClose(TCloseEvent h) { onClose_ = std::move(h); }
    const TNotifyEvent& OnShow() const { return onShow_; }
    void setOnShow(TNotifyEvent h) { onShow_ = std::move(h); }

    bool readProperty(const std::string& path, const FormValue& value) override;
    void writeProperties(PropertyWriter& writer) const override;

protected:
    bool closeRequested() override;
    void shown() override;

private:
    std::optional<ScreenPoint> pendingMove_;
    int moveBatchDepth_ = 0;
    bool hasFixedBorder() const;
    void setClientSize(int width, int height);

    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    bool clearBrush_ = false;
    std::int32_t color_ = -16777201; // clBtnFace
    std::string colorName_ = "clBtnFace";
    TCursor cursor_ = Cursors::crDefault;
    TNotifyEvent onCreate_, onShow_;
    TCloseEvent onClose_;
    // Stored values the form accepts but does not act on (pixel density,
    // text height, font details, ...), written back as they were read.
    std::vector<std::pair<std::string, FormValue>> kept_;
};
