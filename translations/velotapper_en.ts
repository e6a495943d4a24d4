<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
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
        <source>成績はすべてクラスのサーバーに送りました。</source>
        <translation>All runs have been sent to the class's server.</translation>
    </message>
    <message>
        <source>%1 件が送信を待っています。</source>
        <translation>%1 waiting to be sent.</translation>
    </message>
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
        <source>%1 件は後で送ります。</source>
        <translation> %1 waiting to be sent later.</translation>
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
</TS>
