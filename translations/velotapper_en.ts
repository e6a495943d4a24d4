<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Certificate</name>
    <message>
        <source>段級認定証</source>
        <translation>Certificate of Grade</translation>
    </message>
    <message>
        <source>%1&#x3000;%2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>上記の級に合格したことを認めます。</source>
        <translation>This certifies that the grade above was passed.</translation>
    </message>
    <message>
        <source>正味 %1 字/分&#x3000;正確さ %2%</source>
        <translation>Net %1 chars/min   Accuracy %2%</translation>
    </message>
    <message>
        <source>テスト文 %1</source>
        <translation>Test text %1</translation>
    </message>
</context>
<context>
    <name>ClassPanel</name>
    <message>
        <source>番号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>最後の練習</source>
        <translation>Last practice</translation>
    </message>
    <message>
        <source>今週(分)</source>
        <translation>This week (min)</translation>
    </message>
    <message>
        <source>速さ</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>正確さ</source>
        <translation>Accuracy</translation>
    </message>
    <message>
        <source>コース</source>
        <translation>Course</translation>
    </message>
    <message>
        <source>最高の段級</source>
        <translation>Best grade</translation>
    </message>
    <message>
        <source>CSV</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>クラスの表をCSVファイルに書き出します</source>
        <translation>Exports the class table to a CSV file</translation>
    </message>
    <message>
        <source>先生の接続サービスが設定されていません。</source>
        <translation>No teacher's service is set.</translation>
    </message>
    <message>
        <source>%1 人</source>
        <translation>%1 learners</translation>
    </message>
    <message>
        <source>CSVファイル (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>クラスの表を書き出せませんでした。</source>
        <translation>The class table could not be exported.</translation>
    </message>
</context>
<context>
    <name>ClassSection</name>
    <message>
        <source>クラス</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>接続サービス名:</source>
        <translation>Service name:</translation>
    </message>
    <message>
        <source>pg_service.conf にある、成績を送るクラスのサービス名</source>
        <translation>The class's service in pg_service.conf that your runs are sent to</translation>
    </message>
    <message>
        <source>先生の接続サービス名:</source>
        <translation>Teacher's service:</translation>
    </message>
    <message>
        <source>クラスの進み具合を見る先生のサービス名（先生だけ）</source>
        <translation>The service a teacher reads the class's progress through (teachers only)</translation>
    </message>
</context>
<context>
    <name>ClassSender</name>
    <message>
        <source>英字</source>
        <translation>Letters</translation>
    </message>
    <message>
        <source>かな</source>
        <translation>Kana</translation>
    </message>
    <message>
        <source>ローマ字</source>
        <translation>Romaji</translation>
    </message>
    <message>
        <source>%1級</source>
        <translation>Kyu %1</translation>
    </message>
    <message>
        <source>初段</source>
        <translation>1st dan</translation>
    </message>
    <message>
        <source>%1段</source>
        <translation>Dan %1</translation>
    </message>
    <message>
        <source>PostgreSQL のライブラリ（libpq）を読み込めません</source>
        <translation>The PostgreSQL library (libpq) cannot be loaded</translation>
    </message>
    <message>
        <source>接続サービスが pg_service.conf にありません。</source>
        <translation>The service is not in pg_service.conf.</translation>
    </message>
    <message>
        <source>クラスのサーバーにつながりません。</source>
        <translation>The class's server cannot be reached.</translation>
    </message>
    <message>
        <source>パスワードが違うか、期限が切れています。</source>
        <translation>The password is wrong or has expired.</translation>
    </message>
    <message>
        <source>送信中にサーバーとの接続が切れました。</source>
        <translation>The connection to the server was lost while sending.</translation>
    </message>
    <message>
        <source>サーバーは新しい版のもので、このプログラムからは送れません。</source>
        <translation>The server is of a newer version; this program cannot send to it.</translation>
    </message>
    <message>
        <source>サーバーにクラスの表がないか古い版です（velotapper-class init が必要です）。</source>
        <translation>The server has no class tables or older ones (run velotapper-class init).</translation>
    </message>
    <message>
        <source>サーバーが受け付けません（この役割には許されていません）。</source>
        <translation>The server refuses it (this role is not allowed to).</translation>
    </message>
    <message>
        <source>送れません: %1</source>
        <translation>Cannot send: %1</translation>
    </message>
    <message>
        <source>クラスは設定されていません。</source>
        <translation>No class is set.</translation>
    </message>
    <message>
        <source>%1 件は後で送ります。</source>
        <translation> %1 waiting to be sent later.</translation>
    </message>
    <message>
        <source>成績はすべてクラスのサーバーに送りました。</source>
        <translation>All runs have been sent to the class's server.</translation>
    </message>
    <message>
        <source>%1 件が送信を待っています。</source>
        <translation>%1 waiting to be sent.</translation>
    </message>
</context>
<context>
    <name>CourseExercise</name>
    <message>
        <source>コース %1/%2&#x3000;新しいキー: %3</source>
        <translation>Course %1/%2  new key: %3</translation>
    </message>
    <message>
        <source>成績履歴に書き込めないため、コースの進み具合は保存されません。</source>
        <translation>The history cannot be written, so course progress is not kept.</translation>
    </message>
    <message>
        <source>速さ%1&#x3000;正確さ%2</source>
        <translation>Speed %1  accuracy %2</translation>
    </message>
    <message>
        <source>○</source>
        <translation>met</translation>
    </message>
    <message>
        <source>×</source>
        <translation>missed</translation>
    </message>
    <message>
        <source>&#x3000;次の新しいキー: %1</source>
        <translation>  next new key: %1</translation>
    </message>
</context>
<context>
    <name>CoursePanel</name>
    <message>
        <source>解放したキー %1/%2</source>
        <translation>Unlocked keys %1/%2</translation>
    </message>
</context>
<context>
    <name>Drill</name>
    <message>
        <source>[%1] のキー.[Esc]で強制終了</source>
        <translation>Key [%1]   Esc ends the drill</translation>
    </message>
</context>
<context>
    <name>GoalCalendar</name>
    <message>
        <source>1月</source>
        <translation>Jan</translation>
    </message>
    <message>
        <source>2月</source>
        <translation>Feb</translation>
    </message>
    <message>
        <source>3月</source>
        <translation>Mar</translation>
    </message>
    <message>
        <source>4月</source>
        <translation>Apr</translation>
    </message>
    <message>
        <source>5月</source>
        <translation>May</translation>
    </message>
    <message>
        <source>6月</source>
        <translation>Jun</translation>
    </message>
    <message>
        <source>7月</source>
        <translation>Jul</translation>
    </message>
    <message>
        <source>8月</source>
        <translation>Aug</translation>
    </message>
    <message>
        <source>9月</source>
        <translation>Sep</translation>
    </message>
    <message>
        <source>10月</source>
        <translation>Oct</translation>
    </message>
    <message>
        <source>11月</source>
        <translation>Nov</translation>
    </message>
    <message>
        <source>12月</source>
        <translation>Dec</translation>
    </message>
    <message>
        <source>成績履歴を表示できません</source>
        <translation>The history cannot be shown</translation>
    </message>
    <message>
        <source>いまは連続していません</source>
        <translation>No streak going now</translation>
    </message>
    <message>
        <source>今日まで %1 日連続</source>
        <translation>Days in a row up to today: %1</translation>
    </message>
    <message>
        <source>昨日まで %1 日連続</source>
        <translation>Days in a row up to yesterday: %1</translation>
    </message>
    <message>
        <source>最長の連続: %1 日</source>
        <translation>Longest run of days: %1</translation>
    </message>
    <message>
        <source>今日 %1 分（目標なし: 練習した日を数えます）</source>
        <translation>Today %1 min (no goal: every day practised counts)</translation>
    </message>
    <message>
        <source>今日 %1 分（目標 %2 分を達成）</source>
        <translation>Today %1 min (goal of %2 min met)</translation>
    </message>
    <message>
        <source>今日 %1 分（目標 %2 分まであと %3 分）</source>
        <translation>Today %1 min (%3 min to the goal of %2 min)</translation>
    </message>
    <message>
        <source>%1 練習なし</source>
        <translation>%1 no practice</translation>
    </message>
    <message>
        <source>1分未満</source>
        <translation>under 1 min</translation>
    </message>
    <message>
        <source>%1分</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 練習 %2（目標達成）</source>
        <translation>%1 practised %2 (goal met)</translation>
    </message>
    <message>
        <source>%1 練習 %2</source>
        <translation>%1 practised %2</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>水</source>
        <translation>We</translation>
    </message>
    <message>
        <source>金</source>
        <translation>Fr</translation>
    </message>
    <message>
        <source>少</source>
        <translation>Less</translation>
    </message>
    <message>
        <source>多</source>
        <translation>More</translation>
    </message>
    <message>
        <source>目標を達成した日</source>
        <translation>goal met</translation>
    </message>
</context>
<context>
    <name>GoalSection</name>
    <message>
        <source>毎日の目標</source>
        <translation>Daily goal</translation>
    </message>
    <message>
        <source>1日の練習時間</source>
        <translation>Practice a day</translation>
    </message>
    <message>
        <source>毎日の練習時間の目標を決めます</source>
        <translation>Sets a goal of practice time for every day</translation>
    </message>
    <message>
        <source> 分</source>
        <translation> min</translation>
    </message>
    <message>
        <source>この時間を練習した日が目標を達成した日です</source>
        <translation>A day with this much practice meets the goal</translation>
    </message>
    <message>
        <source>目標なしでは、練習した日をすべて連続の日に数えます</source>
        <translation>With no goal, any day practised counts</translation>
    </message>
</context>
<context>
    <name>GradeTest</name>
    <message>
        <source>この級のテストの文が用意できません。</source>
        <translation>No text could be prepared for this grade&apos;s test.</translation>
    </message>
    <message>
        <source>%1 %2 %3字/分 正確%4%</source>
        <translation>%1 %2 %3/min %4%</translation>
    </message>
    <message>
        <source>合格</source>
        <translation>passed</translation>
    </message>
    <message>
        <source>不合格</source>
        <translation>failed</translation>
    </message>
</context>
<context>
    <name>Grades</name>
    <message>
        <source>かな一字</source>
        <translation>single kana</translation>
    </message>
    <message>
        <source>かなの単語</source>
        <translation>kana words</translation>
    </message>
    <message>
        <source>かなの文</source>
        <translation>kana sentences</translation>
    </message>
    <message>
        <source>漢字かなまじりの文</source>
        <translation>kanji-mixed sentences</translation>
    </message>
    <message>
        <source>英語の短い単語</source>
        <translation>short English words</translation>
    </message>
    <message>
        <source>英語の単語</source>
        <translation>English words</translation>
    </message>
    <message>
        <source>英語の文</source>
        <translation>English sentences</translation>
    </message>
    <message>
        <source>%1級</source>
        <translation>Grade %1</translation>
    </message>
    <message>
        <source>初段</source>
        <translation>Dan 1</translation>
    </message>
    <message>
        <source>二段</source>
        <translation>Dan 2</translation>
    </message>
    <message>
        <source>三段</source>
        <translation>Dan 3</translation>
    </message>
    <message>
        <source>四段</source>
        <translation>Dan 4</translation>
    </message>
    <message>
        <source>五段</source>
        <translation>Dan 5</translation>
    </message>
    <message>
        <source>六段</source>
        <translation>Dan 6</translation>
    </message>
    <message>
        <source>七段</source>
        <translation>Dan 7</translation>
    </message>
    <message>
        <source>八段</source>
        <translation>Dan 8</translation>
    </message>
    <message>
        <source>九段</source>
        <translation>Dan 9</translation>
    </message>
    <message>
        <source>十段</source>
        <translation>Dan 10</translation>
    </message>
    <message>
        <source>%1段</source>
        <translation>Dan %1</translation>
    </message>
    <message>
        <source>%1 %2分 合格%3字/分 正確%4% ミス−%5字</source>
        <translation>%1, %2 min: pass %3/min, %4% right, fault −%5</translation>
    </message>
</context>
<context>
    <name>GradesPanel</name>
    <message>
        <source>ローマ字</source>
        <translation>Romaji</translation>
    </message>
    <message>
        <source>かな</source>
        <translation>Kana</translation>
    </message>
    <message>
        <source>英字</source>
        <translation>Letters</translation>
    </message>
    <message>
        <source>級</source>
        <translation>Grade</translation>
    </message>
    <message>
        <source>文</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>分</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>速さ</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>正確</source>
        <translation>Acc.</translation>
    </message>
    <message>
        <source>取得</source>
        <translation>Got</translation>
    </message>
    <message>
        <source>最高</source>
        <translation>Best</translation>
    </message>
    <message>
        <source>合格証を保存</source>
        <translation>Save certificate</translation>
    </message>
    <message>
        <source>選んだ級の合格証をPDFで保存します</source>
        <translation>Saves the selected grade&apos;s certificate as a PDF</translation>
    </message>
    <message>
        <source>◎</source>
        <translation>✓</translation>
    </message>
    <message>
        <source>→</source>
        <translation>→</translation>
    </message>
    <message>
        <source>すべての級を取得しました</source>
        <translation>Every grade is earned</translation>
    </message>
    <message>
        <source>あと %1 字/分 で %2</source>
        <translation>%1 chars/min more for %2</translation>
    </message>
    <message>
        <source>あと正確さ %1% で %2</source>
        <translation>%1% more accuracy for %2</translation>
    </message>
    <message>
        <source>次は %1 のテスト</source>
        <translation>Next: the %1 test</translation>
    </message>
    <message>
        <source>合格証に載せるお名前を入力して下さい。</source>
        <translation>Enter your name for the certificate.</translation>
    </message>
    <message>
        <source>PDFファイル(*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>合格証_%1_%2.pdf</source>
        <translation>certificate_%1_%2.pdf</translation>
    </message>
    <message>
        <source>合格証を書き込めません。
%1</source>
        <translation>Cannot write the certificate.
%1</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>成績履歴 %1 に書き込めなかったため、この回の成績は履歴に残りません。</source>
        <translation>Could not write to the history %1: this run is not kept in it.</translation>
    </message>
    <message>
        <source>成績履歴 %1 に書き込めなかったため、変えた設定は履歴に残りません。</source>
        <translation>Could not write to the history %1: the changed setting is not kept in it.</translation>
    </message>
    <message>
        <source>成績履歴 %1 はほかのプログラムが使用中で、いまは読めません。</source>
        <translation>The history %1 is in use by another program and cannot be read now.</translation>
    </message>
    <message>
        <source>成績履歴 %1 を読めません。</source>
        <translation>Cannot read the history %1.</translation>
    </message>
    <message>
        <source>成績履歴 %1 が壊れていたため %2 として取っておき、読み出せた %3 回の成績で新しい履歴を始めます。</source>
        <translation>The history %1 was damaged: it is kept as %2, and a new history starts with the %3 runs that could be read.</translation>
    </message>
    <message>
        <source>成績履歴 %1 が壊れていたため %2 として取っておき、新しい履歴を始めます。</source>
        <translation>The history %1 was damaged: it is kept as %2, and a new history starts.</translation>
    </message>
    <message>
        <source>成績履歴は新しい版のプログラムのもので、この版では変えられません。</source>
        <translation>The history is from a newer version and cannot be changed by this one.</translation>
    </message>
    <message>
        <source>成績履歴 %1 はほかのプログラムが使用中のままのため、%2 回の成績を書き込めずに終わります。</source>
        <translation>The history %1 is still in use by another program: %2 runs could not be written.</translation>
    </message>
    <message>
        <source>記録 %1 はこれまでどおり保存しますが、この回からの成績、コースの進み具合、日本語の文章の続きと、履歴に残す設定（苦手キーを多く出題、日本語はかなキーで入力、コースの目標）は残りません。</source>
        <translation> The record %1 is saved as always, but from now on runs, the course&apos;s progress, where Japanese texts stopped and the settings kept in the history (Drill weak keys more, Type Japanese in kana, Course targets) are not kept.</translation>
    </message>
    <message>
        <source>作業フォルダーに書き込めないため、成績履歴 %1 は読むだけにします。</source>
        <translation>The working folder is read-only: the history %1 is only read.</translation>
    </message>
    <message>
        <source>成績履歴 %1 は新しい版のプログラムのものなので、読むだけにします。</source>
        <translation>The history %1 is from a newer version of the program: it is only read.</translation>
    </message>
    <message>
        <source>成績履歴 %1 はほかのプログラムが使用中のままのため、変えた設定とコースの進み具合を書き込めずに終わります。</source>
        <translation>The history %1 is still in use by another program: the changed settings and the course&apos;s progress could not be written.</translation>
    </message>
    <message>
        <source>成績履歴 %1 は壊れていて読み出せません。書き込めるようになれば、壊れたファイルを取っておいて新しい履歴を始めます。</source>
        <translation>The history %1 is damaged and cannot be read. Once it can be written, it is kept aside and a new history starts.</translation>
    </message>
    <message>
        <source>成績履歴 %1 が壊れています。いまは書き込めないため直さずに、読み出せた %2 回の成績だけを表示します。書き込めるようになれば、壊れたファイルを取っておいて、読み出せる成績で新しい履歴を始めます。</source>
        <translation>The history %1 is damaged. It cannot be written now, so it is left as it is and only the %2 runs that could be read are shown. Once it can be written, it is kept aside and a new history starts with the runs that can be read.</translation>
    </message>
</context>
<context>
    <name>JapaneseExercise</name>
    <message>
        <source>日本語テキスト(*.txt)</source>
        <translation>Japanese text (*.txt)</translation>
    </message>
    <message>
        <source>日本語の辞書が見つかりません。かなの文だけで練習します。</source>
        <translation>No Japanese dictionary was found. Only phrases written in kana are practised.</translation>
    </message>
    <message>
        <source>練習できる文字がありません。</source>
        <translation>There is nothing in this text to practise.</translation>
    </message>
    <message>
        <source>テキストが見つかりません
%1</source>
        <translation>Text not found:
%1</translation>
    </message>
    <message>
        <source>%1キー/秒 %2かな/分</source>
        <translation>%1 keys/s  %2 kana/min</translation>
    </message>
    <message>
        <source>読めずに飛ばした句%1</source>
        <translation>unreadable phrases skipped: %1</translation>
    </message>
</context>
<context>
    <name>KeyNames</name>
    <message>
        <source>左手小指</source>
        <translation>left little finger</translation>
    </message>
    <message>
        <source>左手薬指</source>
        <translation>left ring finger</translation>
    </message>
    <message>
        <source>左手中指</source>
        <translation>left middle finger</translation>
    </message>
    <message>
        <source>左手人差し指</source>
        <translation>left index finger</translation>
    </message>
    <message>
        <source>親指</source>
        <translation>thumb</translation>
    </message>
    <message>
        <source>右手人差し指</source>
        <translation>right index finger</translation>
    </message>
    <message>
        <source>右手中指</source>
        <translation>right middle finger</translation>
    </message>
    <message>
        <source>右手薬指</source>
        <translation>right ring finger</translation>
    </message>
    <message>
        <source>右手小指</source>
        <translation>right little finger</translation>
    </message>
    <message>
        <source>スペース</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>%1、%2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>MoreSettingsDlg</name>
    <message>
        <source>その他の設定</source>
        <translation>More settings</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>履歴がないため変更できません</source>
        <translation>Without a history these cannot be changed</translation>
    </message>
</context>
<context>
    <name>PaceChoice</name>
    <message>
        <source>ﾍﾟｰｽなし</source>
        <translation>No pace</translation>
    </message>
    <message>
        <source>ﾍﾟｰｽ目標</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>ﾍﾟｰｽ最高</source>
        <translation>Best run</translation>
    </message>
    <message>
        <source>ﾍﾟｰｽ前回</source>
        <translation>Last run</translation>
    </message>
    <message>
        <source>練習中に追いかける二つ目のカーソルの速さ</source>
        <translation>The pace of a second caret to chase during a run</translation>
    </message>
    <message>
        <source>ペースの目標の速さ（キー/分）。前の回がないときもこの速さで進みます</source>
        <translation>The target pace (keys a minute); also used when there is no earlier run</translation>
    </message>
    <message>
        <source>ペース</source>
        <translation>Pace</translation>
    </message>
    <message>
        <source>ペースの目標の速さ</source>
        <translation>Pace target speed</translation>
    </message>
</context>
<context>
    <name>PaceRunner</name>
    <message>
        <source>ペース %1%2.%3秒</source>
        <translation>Pace %1%2.%3 s</translation>
    </message>
    <message>
        <source>&#x3000;ペース○</source>
        <translation> pace beaten</translation>
    </message>
    <message>
        <source>&#x3000;ペース×</source>
        <translation> pace lost</translation>
    </message>
</context>
<context>
    <name>ProgressChart</name>
    <message>
        <source>レッスン</source>
        <translation>Lesson</translation>
    </message>
    <message>
        <source>テキスト</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>ドリル</source>
        <translation>Drill</translation>
    </message>
    <message>
        <source>苦手キー</source>
        <translation>Weak keys</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>%1打/秒</source>
        <translation>%1 keys/s</translation>
    </message>
    <message>
        <source>%1 %2 %3回 平均%4 ミス%5</source>
        <translation>%1 %2 %3 runs, mean %4, misses %5</translation>
    </message>
    <message>
        <source>打/秒</source>
        <translation>keys/s</translation>
    </message>
    <message>
        <source>ミス%</source>
        <translation>miss %</translation>
    </message>
    <message>
        <source>記録がまだありません</source>
        <translation>No runs recorded yet</translation>
    </message>
    <message>
        <source> %1 ミス%2</source>
        <translation> %1 misses %2</translation>
    </message>
    <message>
        <source>%1の週</source>
        <translation>week of %1</translation>
    </message>
    <message>
        <source>コース</source>
        <translation>Course</translation>
    </message>
    <message>
        <source>リズム</source>
        <translation>Rhythm</translation>
    </message>
    <message>
        <source>最後の速さは%1</source>
        <translation>The last speed was %1</translation>
    </message>
    <message>
        <source>、上がっています</source>
        <translation>, rising</translation>
    </message>
    <message>
        <source>、下がっています</source>
        <translation>, falling</translation>
    </message>
    <message>
        <source>、横ばいです</source>
        <translation>, level</translation>
    </message>
    <message>
        <source>。</source>
        <translation>. </translation>
    </message>
</context>
<context>
    <name>ProgressPage</name>
    <message>
        <source>苦手なキー</source>
        <translation>Weak keys</translation>
    </message>
    <message>
        <source>遅いキー</source>
        <translation>Slow keys</translation>
    </message>
    <message>
        <source>CSVに書き出す</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>履歴を消す</source>
        <translation>Clear history</translation>
    </message>
    <message>
        <source>苦手キーで練習</source>
        <translation>Weak-key run</translation>
    </message>
    <message>
        <source> 日ごとの平均（全%1回）</source>
        <translation> Daily means (%1 runs)</translation>
    </message>
    <message>
        <source> 全%1回の記録</source>
        <translation> All %1 runs</translation>
    </message>
    <message>
        <source> 成績履歴はまだありません</source>
        <translation> No history yet</translation>
    </message>
    <message>
        <source>&#x3000;点に合わせると詳しく表示します</source>
        <translation>; point at a dot for details</translation>
    </message>
    <message>
        <source>CSVファイル (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <source>成績履歴を書き出せませんでした。</source>
        <translation>The history could not be exported.</translation>
    </message>
    <message>
        <source> 週ごとの平均（全%1回）</source>
        <translation> Weekly means (%1 runs)</translation>
    </message>
    <message>
        <source> 月ごとの平均（全%1回）</source>
        <translation> Monthly means (%1 runs)</translation>
    </message>
    <message>
        <source>Shiftなし</source>
        <translation>no Shift</translation>
    </message>
    <message>
        <source>Shift付き</source>
        <translation>with Shift</translation>
    </message>
    <message>
        <source>成績履歴をすべて消去します。コースも最初からになります。よろしいですか？</source>
        <translation>This deletes the whole history, and the course starts over. Are you sure?</translation>
    </message>
    <message>
        <source>成績履歴を消去できませんでした。履歴はそのまま残っています。</source>
        <translation>Could not delete the history; it is left as it was.</translation>
    </message>
    <message>
        <source>コース</source>
        <translation>Course</translation>
    </message>
    <message>
        <source>コースのキーの成績と解放の推移を表示します</source>
        <translation>Shows how the course&apos;s keys stand and when they were unlocked</translation>
    </message>
    <message>
        <source> 成績履歴を表示できません</source>
        <translation> The history cannot be shown</translation>
    </message>
    <message>
        <source>成績履歴を書き出せませんでした。%1</source>
        <translation>The history could not be exported. %1</translation>
    </message>
    <message>
        <source>段級</source>
        <translation>Grades</translation>
    </message>
    <message>
        <source>段級の表と取得した級、次の級までを表示します</source>
        <translation>Shows the grade ladder, the grades earned and what the next one needs</translation>
    </message>
    <message>
        <source>練習日</source>
        <translation>Days</translation>
    </message>
    <message>
        <source>この1年の練習した日と毎日の目標の達成を表示します</source>
        <translation>Shows the days practised over the last year and the daily goal met</translation>
    </message>
    <message>
        <source>苦手なキー %1</source>
        <translation>Weak key %1</translation>
    </message>
    <message>
        <source>遅いキー %1</source>
        <translation>Slow key %1</translation>
    </message>
    <message>
        <source>詳細</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>苦手なキーは%1。</source>
        <translation>Weak keys: %1.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>成績のグラフ</source>
        <translation>Progress chart</translation>
    </message>
    <message>
        <source>クラス</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>クラスの学習者の進み具合を表示します</source>
        <translation>Shows the progress of the class's learners</translation>
    </message>
</context>
<context>
    <name>RecordFile</name>
    <message>
        <source>タイムレコードの形式が違います。
初期化をします。</source>
        <translation>The record file has the wrong format.
It is started afresh.</translation>
    </message>
    <message>
        <source>タイムレコードがオープンできませんでした。</source>
        <translation>The record file could not be opened.</translation>
    </message>
    <message>
        <source>タイムレコードが出力できませんでした。</source>
        <translation>The record file could not be written.</translation>
    </message>
</context>
<context>
    <name>RunSpeech</name>
    <message>
        <source>スペース</source>
        <translation>space</translation>
    </message>
    <message>
        <source>エンター</source>
        <translation>enter</translation>
    </message>
    <message>
        <source>感嘆符</source>
        <translation>exclamation mark</translation>
    </message>
    <message>
        <source>二重引用符</source>
        <translation>double quote</translation>
    </message>
    <message>
        <source>シャープ</source>
        <translation>number sign</translation>
    </message>
    <message>
        <source>ドル記号</source>
        <translation>dollar sign</translation>
    </message>
    <message>
        <source>パーセント</source>
        <translation>percent</translation>
    </message>
    <message>
        <source>アンド</source>
        <translation>ampersand</translation>
    </message>
    <message>
        <source>アポストロフィー</source>
        <translation>apostrophe</translation>
    </message>
    <message>
        <source>左かっこ</source>
        <translation>left parenthesis</translation>
    </message>
    <message>
        <source>右かっこ</source>
        <translation>right parenthesis</translation>
    </message>
    <message>
        <source>アスタリスク</source>
        <translation>asterisk</translation>
    </message>
    <message>
        <source>プラス</source>
        <translation>plus</translation>
    </message>
    <message>
        <source>カンマ</source>
        <translation>comma</translation>
    </message>
    <message>
        <source>マイナス</source>
        <translation>minus</translation>
    </message>
    <message>
        <source>ピリオド</source>
        <translation>period</translation>
    </message>
    <message>
        <source>スラッシュ</source>
        <translation>slash</translation>
    </message>
    <message>
        <source>コロン</source>
        <translation>colon</translation>
    </message>
    <message>
        <source>セミコロン</source>
        <translation>semicolon</translation>
    </message>
    <message>
        <source>小なり</source>
        <translation>less than</translation>
    </message>
    <message>
        <source>イコール</source>
        <translation>equals</translation>
    </message>
    <message>
        <source>大なり</source>
        <translation>greater than</translation>
    </message>
    <message>
        <source>疑問符</source>
        <translation>question mark</translation>
    </message>
    <message>
        <source>アットマーク</source>
        <translation>at sign</translation>
    </message>
    <message>
        <source>左角かっこ</source>
        <translation>left bracket</translation>
    </message>
    <message>
        <source>円記号</source>
        <translation>yen sign</translation>
    </message>
    <message>
        <source>右角かっこ</source>
        <translation>right bracket</translation>
    </message>
    <message>
        <source>キャレット</source>
        <translation>caret</translation>
    </message>
    <message>
        <source>アンダースコア</source>
        <translation>underscore</translation>
    </message>
    <message>
        <source>バッククォート</source>
        <translation>backquote</translation>
    </message>
    <message>
        <source>左波かっこ</source>
        <translation>left brace</translation>
    </message>
    <message>
        <source>縦線</source>
        <translation>vertical bar</translation>
    </message>
    <message>
        <source>右波かっこ</source>
        <translation>right brace</translation>
    </message>
    <message>
        <source>チルダ</source>
        <translation>tilde</translation>
    </message>
    <message>
        <source>ja</source>
        <comment>the language the speech of these texts is in, as a BCP 47 name</comment>
        <translation>en</translation>
    </message>
    <message>
        <source>大文字の%1</source>
        <translation>capital %1</translation>
    </message>
    <message>
        <source>終了。毎秒%1文字、ミス%2回。</source>
        <translation>Finished. %1 characters a second, %2 misses.</translation>
    </message>
    <message>
        <source>終了。毎秒%1キー、毎分%2かな、ミス%3回。</source>
        <translation>Finished. %1 keys a second, %2 kana a minute, %3 misses.</translation>
    </message>
    <message>
        <source>次の新しいキーは%1です。</source>
        <translation>The next new key is %1.</translation>
    </message>
    <message>
        <source>練習を始めます。ホームポジションに指を置いてください。</source>
        <translation>Practice begins. Put your fingers on the home position.</translation>
    </message>
    <message>
        <source>。</source>
        <translation>. </translation>
    </message>
    <message>
        <source>ミス、%1</source>
        <translation>Miss, %1</translation>
    </message>
</context>
<context>
    <name>RunTally</name>
    <message>
        <source>&#x3000;リズム%1</source>
        <translation>  rhythm %1</translation>
    </message>
</context>
<context>
    <name>SoundDlg</name>
    <message>
        <source>音の設定</source>
        <translation>Sound settings</translation>
    </message>
    <message>
        <source>効果音</source>
        <translation>Sound effects</translation>
    </message>
    <message>
        <source>正しいキーの音</source>
        <translation>Right keys</translation>
    </message>
    <message>
        <source>正しいキーを押すたびに音を鳴らします</source>
        <translation>Clicks at every right key</translation>
    </message>
    <message>
        <source>ミスの音</source>
        <translation>Misses</translation>
    </message>
    <message>
        <source>間違えたキーを押すたびに音を鳴らします</source>
        <translation>Sounds at every wrong key</translation>
    </message>
    <message>
        <source>終了の音</source>
        <translation>End of a run</translation>
    </message>
    <message>
        <source>練習の終わりに音を鳴らします</source>
        <translation>Chimes when a run ends</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>効果音とメトロノームの音量</source>
        <translation>Volume of the sound effects and the metronome</translation>
    </message>
    <message>
        <source>メトロノーム</source>
        <translation>Metronome</translation>
    </message>
    <message>
        <source>鳴らす</source>
        <translation>On</translation>
    </message>
    <message>
        <source>練習中にメトロノームを鳴らします</source>
        <translation>Ticks a metronome during runs</translation>
    </message>
    <message>
        <source>1分あたりの拍の数</source>
        <translation>Beats a minute</translation>
    </message>
    <message>
        <source> 拍/分</source>
        <translation> beats/min</translation>
    </message>
    <message>
        <source>練習中だけ鳴ります</source>
        <translation>Only during runs</translation>
    </message>
</context>
<context>
    <name>SpeechOutput</name>
    <message>
        <source>音声の部品が見つかりません</source>
        <translation>The program&apos;s speech module is missing</translation>
    </message>
    <message>
        <source>音声サーバー(speech-dispatcher)に接続できません</source>
        <translation>No speech server (speech-dispatcher) answers</translation>
    </message>
    <message>
        <source>この言語の声がありません</source>
        <translation>The speech server has no voice for this language</translation>
    </message>
    <message>
        <source>音声サーバーが応答しなくなりました</source>
        <translation>The speech server stopped answering</translation>
    </message>
</context>
<context>
    <name>SpeechSection</name>
    <message>
        <source>音声</source>
        <translation>Speech</translation>
    </message>
    <message>
        <source>練習を読み上げる (F8)</source>
        <translation>Speak the practice (F8)</translation>
    </message>
    <message>
        <source>次のキー</source>
        <translation>Next key</translation>
    </message>
    <message>
        <source>次の単語</source>
        <translation>Next word</translation>
    </message>
    <message>
        <source>正しいキーを押すたびに次のキーを読み上げます</source>
        <translation>Says the next key after each right key</translation>
    </message>
    <message>
        <source>単語の始めにその単語を読み上げます</source>
        <translation>Says each word as it begins</translation>
    </message>
    <message>
        <source>この声で読み上げます。</source>
        <translation>This is the voice that speaks.</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>ヴェロタッパー</source>
        <translation>Typing Tutor</translation>
    </message>
    <message>
        <source>Version&#x3000;1.0</source>
        <translation>Version 1.0</translation>
    </message>
    <message>
        <source>タイピングを早くする為のプログラムです。</source>
        <translation>A program to make your typing faster.</translation>
    </message>
    <message>
        <source>お役に立てて下さい。</source>
        <translation>We hope it helps you.</translation>
    </message>
    <message>
        <source>ヴェロタッパーのアイコン</source>
        <translation>Velotapper icon</translation>
    </message>
</context>
<context>
    <name>TPagesDlg</name>
    <message>
        <source>小指</source>
        <translation>Pinky</translation>
    </message>
    <message>
        <source>薬指</source>
        <translation>Ring</translation>
    </message>
    <message>
        <source>中指</source>
        <translation>Mid</translation>
    </message>
    <message>
        <source>人指</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>親指</source>
        <translation>Thumb</translation>
    </message>
    <message>
        <source>左手</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右手</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>８割以上</source>
        <translation>80%+</translation>
    </message>
    <message>
        <source>５割以上</source>
        <translation>50%+</translation>
    </message>
    <message>
        <source>２割以上</source>
        <translation>20%+</translation>
    </message>
    <message>
        <source>２割未満</source>
        <translation>&lt;20%</translation>
    </message>
    <message>
        <source>未打鍵</source>
        <translation>Untyped</translation>
    </message>
    <message>
        <source>: %1/%2(ミス/試験数)</source>
        <translation>: %1/%2 (misses/tries)</translation>
    </message>
    <message>
        <source>最速タイプ記録</source>
        <translation>Fastest</translation>
    </message>
    <message>
        <source>平均タイプ記録</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>現在タイプ記録</source>
        <translation>Latest</translation>
    </message>
    <message>
        <source>練習文字数累計</source>
        <translation>Keys typed</translation>
    </message>
    <message>
        <source>ミスタッチ累計</source>
        <translation>Mistypes</translation>
    </message>
    <message>
        <source>タイプ記録は 打鍵数/秒です</source>
        <translation>Speeds are in keys per second</translation>
    </message>
    <message>
        <source>フォームポジション記録は平均・最速タイプ記録に含まれません</source>
        <translation>Drill runs do not count in the average and fastest</translation>
    </message>
    <message>
        <source>レベル</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>初級</source>
        <translation>Easy</translation>
    </message>
    <message>
        <source>練習を初級レベルにします</source>
        <translation>Practise at the beginner level</translation>
    </message>
    <message>
        <source>中級</source>
        <translation>Mid</translation>
    </message>
    <message>
        <source>練習を中級レベルにします</source>
        <translation>Practise at the intermediate level</translation>
    </message>
    <message>
        <source>上級</source>
        <translation>Hard</translation>
    </message>
    <message>
        <source>練習を上級レベルにします</source>
        <translation>Practise at the advanced level</translation>
    </message>
    <message>
        <source>ポジション</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>A列</source>
        <translation>A</translation>
    </message>
    <message>
        <source>キーボードのＡ列の練習</source>
        <translation>Practise the A row of the keyboard</translation>
    </message>
    <message>
        <source>Q列</source>
        <translation>Q</translation>
    </message>
    <message>
        <source>キーボードのＱ列の練習</source>
        <translation>Practise the Q row of the keyboard</translation>
    </message>
    <message>
        <source>Z列</source>
        <translation>Z</translation>
    </message>
    <message>
        <source>キーボードのＺ列の練習</source>
        <translation>Practise the Z row of the keyboard</translation>
    </message>
    <message>
        <source>1列</source>
        <translation>1</translation>
    </message>
    <message>
        <source>キーボードの数字列の練習</source>
        <translation>Practise the number row of the keyboard</translation>
    </message>
    <message>
        <source>ガイド</source>
        <translation>Guide</translation>
    </message>
    <message>
        <source>有り</source>
        <translation>On</translation>
    </message>
    <message>
        <source>フォームポジション練習でガイド表示有り</source>
        <translation>Light up the awaited key in the drill</translation>
    </message>
    <message>
        <source>無し</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>フォームポジション練習でガイド表示無し</source>
        <translation>Do not light up the awaited key in the drill</translation>
    </message>
    <message>
        <source>苦手キーを多く出題</source>
        <translation>Drill weak keys more</translation>
    </message>
    <message>
        <source>フォームポジション練習で苦手なキーを多く出題します</source>
        <translation>The drill prompts the keys you miss most more often</translation>
    </message>
    <message>
        <source>日本語はかなキーで入力</source>
        <translation>Type Japanese in kana</translation>
    </message>
    <message>
        <source>日本語の練習をローマ字ではなくかなキーで行います</source>
        <translation>Japanese practice with the kana keys instead of romaji</translation>
    </message>
    <message>
        <source>各種設定・表示</source>
        <translation>Settings and records</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>練習の設定を行います</source>
        <translation>Set up the practice</translation>
    </message>
    <message>
        <source>記録表示</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>記録の表示を行います</source>
        <translation>Show your records</translation>
    </message>
    <message>
        <source>タイプミス一覧</source>
        <translation>Mistypes</translation>
    </message>
    <message>
        <source>タイムミスの一覧を表示します</source>
        <translation>Show the keys you mistype</translation>
    </message>
    <message>
        <source>色設定</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>キーボードの色を設定します</source>
        <translation>Set the keyboard colours</translation>
    </message>
    <message>
        <source>成績推移</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>コースの目標</source>
        <translation>Course goals</translation>
    </message>
    <message>
        <source> キー/分</source>
        <translation> keys/min</translation>
    </message>
    <message>
        <source>キーを増やすのに要る速さ</source>
        <translation>Speed needed to unlock the next key</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>キーを増やすのに要る正確さ</source>
        <translation>Accuracy needed to unlock the next key</translation>
    </message>
    <message>
        <source>その他の設定…</source>
        <translation>More settings…</translation>
    </message>
    <message>
        <source>%1の色</source>
        <translation>Colour of the %1</translation>
    </message>
    <message>
        <source>左手小指</source>
        <translation>left little finger</translation>
    </message>
    <message>
        <source>左手薬指</source>
        <translation>left ring finger</translation>
    </message>
    <message>
        <source>左手中指</source>
        <translation>left middle finger</translation>
    </message>
    <message>
        <source>左手人差し指</source>
        <translation>left index finger</translation>
    </message>
    <message>
        <source>左手親指</source>
        <translation>left thumb</translation>
    </message>
    <message>
        <source>右手親指</source>
        <translation>right thumb</translation>
    </message>
    <message>
        <source>右手人差し指</source>
        <translation>right index finger</translation>
    </message>
    <message>
        <source>右手中指</source>
        <translation>right middle finger</translation>
    </message>
    <message>
        <source>右手薬指</source>
        <translation>right ring finger</translation>
    </message>
    <message>
        <source>右手小指</source>
        <translation>right little finger</translation>
    </message>
    <message>
        <source>ミスの詳細</source>
        <translation>Miss details</translation>
    </message>
    <message>
        <source>コースの目標の速さ</source>
        <translation>Course target speed</translation>
    </message>
    <message>
        <source>コースの目標の正確さ</source>
        <translation>Course target accuracy</translation>
    </message>
</context>
<context>
    <name>TPanel</name>
    <message>
        <source>%1：%2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>TVelotapper</name>
    <message>
        <source>練習の設定を行います。</source>
        <translation>Set up the practice.</translation>
    </message>
    <message>
        <source>フォームポジションの練習を行います。</source>
        <translation>Form-position drill.</translation>
    </message>
    <message>
        <source>テキストによるタイピング練習</source>
        <translation>Typing practice with a text</translation>
    </message>
    <message>
        <source>テキストファイル読込み</source>
        <translation>Open a text file</translation>
    </message>
    <message>
        <source>日本語の文章で練習します。</source>
        <translation>Practise with Japanese text.</translation>
    </message>
    <message>
        <source>キーボードの色を変えます。</source>
        <translation>Colour the keyboard by finger.</translation>
    </message>
    <message>
        <source>終了します</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>プログラムの説明をします</source>
        <translation>About this program</translation>
    </message>
    <message>
        <source>練習を開始します</source>
        <translation>Start the practice</translation>
    </message>
    <message>
        <source>練習を中断します</source>
        <translation>Stop the practice</translation>
    </message>
    <message>
        <source>スタートボタン</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>まだ練習の記録がありません。</source>
        <translation>There are no runs recorded yet.</translation>
    </message>
    <message>
        <source>苦手キーで練習できるレッスンの言葉が見つかりません。</source>
        <translation>No lesson words were found to practise your weak keys.</translation>
    </message>
    <message>
        <source>キーを一つずつ増やすコースで練習します。</source>
        <translation>Practise a course that adds one key at a time.</translation>
    </message>
    <message>
        <source>（履歴へは後で記録）</source>
        <translation> (history saved later)</translation>
    </message>
    <message>
        <source>音とメトロノームを設定します。</source>
        <translation>Sets the sounds and the metronome.</translation>
    </message>
    <message>
        <source>段級テストを受けます。</source>
        <translation>Takes a grade test.</translation>
    </message>
    <message>
        <source>練習の文章</source>
        <translation>Practice text</translation>
    </message>
    <message>
        <source>ツールバー</source>
        <translation>Tool bar</translation>
    </message>
    <message>
        <source>案内</source>
        <translation>Prompt</translation>
    </message>
    <message>
        <source>経過時間</source>
        <translation>Elapsed time</translation>
    </message>
    <message>
        <source>練習の進み具合</source>
        <translation>Practice progress</translation>
    </message>
    <message>
        <source>キーを押すと、その指を示します。[Esc]で終わります。</source>
        <translation>Press a key to see its finger. [Esc] ends.</translation>
    </message>
    <message>
        <source>音声をオンにしました。</source>
        <translation>Speech on.</translation>
    </message>
    <message>
        <source>音声をオフにしました。</source>
        <translation>Speech off.</translation>
    </message>
</context>
<context>
    <name>TextExercise</name>
    <message>
        <source>スピードは %1文字/秒 です</source>
        <translation>Speed: %1 keys/s</translation>
    </message>
    <message>
        <source>テキストをファイルから読んで下さい.</source>
        <translation>Please open a text file first.</translation>
    </message>
    <message>
        <source>フォームポジションにして下さい。</source>
        <translation>Fingers on the home row.</translation>
    </message>
    <message>
        <source>表示するキーを押して下さい</source>
        <translation>Type the key shown</translation>
    </message>
    <message>
        <source>テキストファイル(*.txt)</source>
        <translation>Text file (*.txt)</translation>
    </message>
    <message>
        <source>次のキーは:[%1]です。</source>
        <translation>Next key: [%1]</translation>
    </message>
    <message>
        <source>次のキーは [%1]です。</source>
        <translation>Next key: [%1]</translation>
    </message>
    <message>
        <source>次のキーは [改行||空白]です。</source>
        <translation>Next key: [Enter or Space]</translation>
    </message>
    <message>
        <source>テキストが見つかりません
%1を作成して下さい</source>
        <translation>Text not found:
%1
Please create it.</translation>
    </message>
</context>
<context>
    <name>Velotapper</name>
    <message>
        <source>zudarev練習機</source>
        <translation>Velotapper</translation>
    </message>
</context>
<context>
    <name>WeakKeys</name>
    <message>
        <source>苦手キー:</source>
        <translation>Weak keys:</translation>
    </message>
</context>
<context>
    <name>ZoomSection</name>
    <message>
        <source>表示の倍率</source>
        <translation>Display zoom</translation>
    </message>
    <message>
        <source>次に起動したときから変わります</source>
        <translation>Takes effect at the next start</translation>
    </message>
</context>
<context>
    <name>goal</name>
    <message>
        <source>今日の目標まであと %1 分</source>
        <translation>%1 min left to today&apos;s goal</translation>
    </message>
    <message>
        <source>今日の目標を達成しました</source>
        <translation>Today&apos;s goal is met</translation>
    </message>
</context>
<context>
    <name>velotapper-class</name>
    <message>
        <source>サーバーのスキーマ(版 %1)はこのコマンドの版(%2)より新しいものです。</source>
        <translation>the server&apos;s schema (version %1) is newer than this command&apos;s (%2)</translation>
    </message>
    <message>
        <source>このデータベースにはクラスのスキーマがありません。先に velotapper-class init を実行してください。</source>
        <translation>the database has no class schema: run velotapper-class init first</translation>
    </message>
    <message>
        <source>サーバーのスキーマが古い版です。先に velotapper-class init を実行してください。</source>
        <translation>the server&apos;s schema is older: run velotapper-class init first</translation>
    </message>
    <message>
        <source>そのクラスはすでにあります。</source>
        <translation>the class exists already</translation>
    </message>
    <message>
        <source>そのクラスはありません。先に velotapper-class add-class で追加してください。</source>
        <translation>no such class: add it with velotapper-class add-class first</translation>
    </message>
    <message>
        <source>使い方: velotapper-class init [--service 名前 | 接続文字列]
        velotapper-class add-class クラス [票の指定] [--service 名前 | 接続文字列]
        velotapper-class add-learners クラス 名簿.csv [票の指定] [--service 名前 | 接続文字列]
        velotapper-class version
接続先の指定がなければ libpq の決まり (PGSERVICE、PGHOST など、または Unix ソケット) で接続します。
名簿.csv は 1 行に「番号,名前」です。作ったログインは票に刷る CSV で出力します。
票の指定 (学習者の機械がサーバーに接続するための値):
  --host ホスト        学習者の機械から見たサーバーの名前 (既定: この接続のホスト)
  --port ポート        (既定: この接続のポート)
  --slip-service 名前  pg_service.conf の項目の名前 (既定: velotapper)
  --sslmode モード     (既定: localhost 以外のホストなら verify-full)
</source>
        <translation>usage: velotapper-class init [--service NAME | CONNINFO]
       velotapper-class add-class CLASS [slip options] [--service NAME | CONNINFO]
       velotapper-class add-learners CLASS ROSTER.csv [slip options] [--service NAME | CONNINFO]
       velotapper-class version
Connects as libpq does (PGSERVICE, PGHOST, ... or the Unix socket) unless told.
ROSTER.csv holds number,name a line. The logins made are printed as CSV for slips.
slip options: what the learners&apos; machines use to reach the server:
  --host HOST        the server&apos;s name as they reach it (default: this connection&apos;s)
  --port PORT        (default: this connection&apos;s)
  --slip-service N   the pg_service.conf entry&apos;s name (default: velotapper)
  --sslmode MODE     (default: verify-full for a host other than localhost)
</translation>
    </message>
    <message>
        <source>票のホストは localhost です。ほかの機械から接続するなら --host を指定してください。</source>
        <translation>the slips name host localhost; give --host for other machines</translation>
    </message>
    <message>
        <source>クラスのスキーマはすでに版 %1 です。</source>
        <translation>the class schema is at version %1 already</translation>
    </message>
    <message>
        <source>クラスのスキーマを版 %1 にしました (前は %2)。</source>
        <translation>the class schema is now at version %1 (was %2)</translation>
    </message>
    <message>
        <source>%1 を読めません: %2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>番号 %1 は登録済みです。そのままにしました。</source>
        <translation>number %1 is enrolled already; left as it is</translation>
    </message>
    <message>
        <source>名簿が UTF-8 のテキストでも Shift-JIS のテキストでもありません。</source>
        <translation>the roster is neither UTF-8 nor Shift-JIS text</translation>
    </message>
    <message>
        <source>%1 行目: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>学習者の行には「番号,名前」が要ります。</source>
        <translation>a learner&apos;s line needs number,name</translation>
    </message>
    <message>
        <source>番号か名前が空です。</source>
        <translation>an empty number or name</translation>
    </message>
    <message>
        <source>100 文字を超える欄があります。</source>
        <translation>a field longer than 100 characters</translation>
    </message>
    <message>
        <source>制御文字が含まれています。</source>
        <translation>a control character</translation>
    </message>
    <message>
        <source>番号 %1 が二度あります。</source>
        <translation>number %1 comes twice</translation>
    </message>
    <message>
        <source>名簿に学習者がいません。</source>
        <translation>the roster names no learner</translation>
    </message>
</context>
</TS>
