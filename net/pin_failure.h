#pragma once
// What the learner is shown when a connection to the platform fails its pins: almost
// always a local security product scanning HTTPS.

inline constexpr char16_t kPinFailureCaption[] = u"Network Connection Intercepted - اتصال غير آمن";
inline constexpr char16_t kPinFailureEnglish[] =
    u"A security program is blocking the secure connection.\nPlease disable 'HTTPS Scanning' or "
    u"'Web Shield' in your antivirus settings and try again.";
inline constexpr char16_t kPinFailureArabic[] =
    u"برنامج حماية يمنع الاتصال الآمن.\nيرجى تعطيل خاصية 'فحص HTTPS' أو 'حماية الويب' في "
    u"إعدادات مكافح الفيروسات وحاول مرة أخرى.";
