#include "link/content_resolution.h"

#include "common/platform_values.h"
#include "common/text.h"
#include "link/video_url.h"

bool ApplyContentData(const ContentData& data, ContentRequest& request) {
  const std::u16string contentUrl = Utf8ToUtf16(data.contentUrl);
  const bool shownDirectly = data.type == "video" || data.type == "zoom" ||
                             data.type == "zoom_url" || IsZoomUrl(contentUrl);
  request.kind = shownDirectly ? std::u16string(content_kind::kUrlDirect) : Utf8ToUtf16(data.type);
  request.watermarkText = Utf8ToUtf16(data.watermarkText);
  request.pageScriptId = data.pageScriptId;

  const std::u16string videoUrl = Utf8ToUtf16(data.videoUrl);
  if (IsYouTubeUrl(videoUrl)) {
    request.url = NormalizeYouTubeUrl(videoUrl, request.domain);
    request.kind = content_kind::kUrlDirect;
    return true;
  }
  request.url = contentUrl;
  return false;
}

std::u16string PageScriptAddressFor(std::int32_t pageScriptId) {
  return AsciiToUtf16(PageScriptAddress() + std::to_string(pageScriptId));
}
