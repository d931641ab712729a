{ A decision chain: the statement part comes from grade.fgd. }
program GradeDemo;

function Grade(score: Integer): Char;
{$I grade.inc}

begin
  WriteLn(Grade(95), Grade(90), Grade(89), Grade(75), Grade(74), Grade(60), Grade(59), Grade(0));
end.
